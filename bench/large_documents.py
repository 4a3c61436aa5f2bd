#!/usr/bin/env python3
"""Speed with large documents, as whole processes, in one run.

Converts a generated 10 MB Tamil RTF and the largest files of an RTF corpus with
`tarvellite-cli convert` to .txt and to .tvl, and, when unrtf is installed, with
`unrtf --text` on the same files; prints the median wall time of each, the ratio to unrtf and
the peak memory against the input's size. Then the time to save that document as .tvl and .rtf
through the core writer and through the program's save path (an editing view, offscreen), and
in that view the time to open it and keystrokes typed into it (also for the same text as a
UTF-8 text file).

    bench/large_documents.py [--build build] [--runs 5] [--corpus FOLDER]

Build first: tarvellite-cli document_speed view_save_speed.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


GNU_TIME = "/usr/bin/time" if os.access("/usr/bin/time", os.X_OK) else None


def run_once(argv, work):
    """Wall seconds and peak resident memory (bytes, 0 when unknown) of one run of argv, its
    output discarded. The peak comes from GNU time when installed: a child started straight
    from this interpreter would report the interpreter's own peak."""
    report = os.path.join(work, "peak")
    command = [GNU_TIME, "-f", "%M", "-o", report] + list(argv) if GNU_TIME else list(argv)
    null = os.open(os.devnull, os.O_WRONLY)
    try:
        start = time.perf_counter()
        pid = os.posix_spawn(command[0], command, os.environ,
                             file_actions=[(os.POSIX_SPAWN_DUP2, null, 1),
                                           (os.POSIX_SPAWN_DUP2, null, 2)])
        _, status, _ = os.wait4(pid, 0)
        wall = time.perf_counter() - start
    finally:
        os.close(null)
    if os.waitstatus_to_exitcode(status) != 0:
        raise RuntimeError("failed: " + " ".join(argv))
    peak = 0
    if GNU_TIME:
        with open(report) as f:
            peak = int(f.read().split()[-1]) * 1024
    return wall, peak


def measure(commands, runs, work):
    """Runs each command of `commands` (name -> argv) in turn, one warm-up each, then `runs`
    rounds; returns name -> (median wall, largest peak)."""
    walls = {name: [] for name in commands}
    peaks = {name: 0 for name in commands}
    for round_ in range(runs + 1):
        for name, argv in commands.items():
            wall, peak = run_once(argv, work)
            if round_ > 0:
                walls[name].append(wall)
                peaks[name] = max(peaks[name], peak)
    return {name: (statistics.median(walls[name]), peaks[name]) for name in commands}


def largest_files(folder, count):
    if not folder or not os.path.isdir(folder):
        return []
    files = [os.path.join(folder, f) for f in os.listdir(folder) if f.lower().endswith(".rtf")]
    return sorted(files, key=os.path.getsize, reverse=True)[:count]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    source = os.path.dirname(here)
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(source, "build"), type=os.path.abspath)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--corpus", default=None,
                        help="folder of real RTF files (default: the test corpus in the build)")
    args = parser.parse_args()

    cli = os.path.join(args.build, "bin", "tarvellite-cli")
    speed = os.path.join(args.build, "bench", "document_speed")
    view_save = os.path.join(args.build, "bench", "view_save_speed")
    for tool in (cli, speed):
        if not os.access(tool, os.X_OK):
            sys.exit(f"{tool} is missing: build tarvellite-cli and document_speed first")
    corpus = os.path.abspath(args.corpus) if args.corpus else os.path.join(args.build, "test-data", "rtf-corpus", "files")
    unrtf = shutil.which("unrtf")

    work = tempfile.mkdtemp(prefix="large-documents-")
    os.chdir(work)  # unrtf writes the pictures it finds into the current folder
    try:
        generated = os.path.join(work, "tamil-10mb.rtf")
        subprocess.run([speed, "generate", generated, "10000000"], check=True)
        inputs = [generated] + largest_files(corpus, 3)

        print(f"{time.strftime('%Y-%m-%d')}, {os.cpu_count()} processors, "
              f"median of {args.runs} runs, whole processes")
        print("unrtf: " + (unrtf or "not installed, no ratios"))
        baseline = measure({"help": [cli, "--help"]}, args.runs, work)["help"][1]
        if baseline:
            print(f"peak memory of the program doing nothing: {baseline / 2**20:.1f} MiB")
        print("to .txt/.tvl: a file written safely (temporary file, flushed to disk, renamed);")
        print("to stdout: the text printed, as unrtf --text does")
        header = f"{'file':40} {'MB':>6} {'stdout':>7} {'to .txt':>8} {'to .tvl':>8} " \
                 f"{'unrtf':>7} {'x out':>6} {'x .txt':>6} {'x .tvl':>6} {'peak MiB':>8} " \
                 f"{'peak/in':>7}"
        print(header)
        for path in inputs:
            size = os.path.getsize(path)
            commands = {
                "stdout": [cli, "convert", "--quiet", path, "-"],
                "txt": [cli, "convert", "--quiet", path, os.path.join(work, "out.txt")],
                "tvl": [cli, "convert", "--quiet", path, os.path.join(work, "out.tvl")],
            }
            if unrtf:
                commands["unrtf"] = [unrtf, "--text", path]
            figures = measure(commands, args.runs, work)
            out, txt, tvl = figures["stdout"][0], figures["txt"][0], figures["tvl"][0]
            peak = max(figures["stdout"][1], figures["txt"][1], figures["tvl"][1])
            row = f"{os.path.basename(path)[:40]:40} {size / 1e6:6.2f} {out:7.3f} {txt:8.3f} " \
                  f"{tvl:8.3f} "
            if unrtf:
                base = figures["unrtf"][0]
                row += f"{base:7.3f} {base / out:5.1f}x {base / txt:5.1f}x {base / tvl:5.1f}x "
            else:
                row += f"{'-':>7} {'-':>6} {'-':>6} {'-':>6} "
            row += f"{peak / 2**20:8.1f} {peak / size:6.2f}x" if peak else f"{'-':>8} {'-':>7}"
            print(row)

        print()
        print(f"saving {os.path.basename(generated)}, best of three:")
        subprocess.run([speed, "save", generated, work], check=True)
        if os.access(view_save, os.X_OK):
            env = dict(os.environ)
            env.setdefault("QT_QPA_PLATFORM", "offscreen")
            subprocess.run([view_save, generated, work], check=True, env=env,
                           stderr=subprocess.DEVNULL)
            # Its text, repeated to 10 MB, as an ordinary UTF-8 text file.
            once = subprocess.run([cli, "convert", "--quiet", generated, "-"], check=True,
                                  stdout=subprocess.PIPE).stdout
            text = os.path.join(work, "tamil-10mb.txt")
            repeated = (once * (10_000_000 // len(once) + 1))[:10_000_000]
            with open(text, "wb") as f:
                f.write(repeated[:repeated.rfind(b"\n") + 1])
            print(f"its text as UTF-8, {os.path.getsize(text) / 1e6:.1f} MB:")
            subprocess.run([view_save, text, work], check=True, env=env,
                           stderr=subprocess.DEVNULL)
        else:
            print("view_save_speed is not built: the program's save path is not measured")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
