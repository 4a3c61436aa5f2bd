#!/usr/bin/env bash
# Rebuilds wordlists/<locale>.tar.xz from Debian's spelling packages and the Thamizha list.
# Needs: apt-get (download only), dpkg, hunspell-tools (unmunch), aspell with aspell-hi,
# aspell-kn and aspell-ta installed, python3, xz. Not needed for building the program.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
apt-get download hunspell-en-us hunspell-hi hunspell-te hunspell-ml hunspell-si >/dev/null
for f in *.deb; do dpkg -x "$f" x; done
H=x/usr/share/hunspell
export LC_ALL=C.UTF-8
unmunch $H/en_US.dic $H/en_US.aff 2>/dev/null | grep -v "'s$" | sort -u > en-US.txt
{ unmunch $H/hi_IN.dic $H/hi_IN.aff 2>/dev/null; aspell -d hi dump master | aspell -l hi expand | tr ' ' '\n'; } | sort -u > hi-IN.txt
aspell -d kn dump master | aspell -l kn expand | tr ' ' '\n' | sort -u > kn-IN.txt
thamizha=${THAMIZHA_LIST:-$here/../../../shared/data/wordlists/ta-thamizha.txt}
{ cat "$thamizha"
  aspell -d ta dump master | aspell -l ta expand | tr ' ' '\n'; } | sort -u > ta-IN.txt
unmunch $H/te_IN.dic $H/te_IN.aff 2>/dev/null | sort -u > te-IN.txt
unmunch $H/ml_IN.dic $H/ml_IN.aff 2>/dev/null | sort -u > ml-IN.txt
# unmunch fails on the Sinhala affix file (FLAG num): our own expander.
python3 "$here/tools/expand_affixes.py" $H/si_LK.dic $H/si_LK.aff | sort -u > si-LK.txt
for l in en-US hi-IN kn-IN ta-IN te-IN ml-IN si-LK; do
    tar -cJf "$here/wordlists/$l.tar.xz" --owner=0 --group=0 --numeric-owner \
        --mtime=2024-01-01 "$l.txt"
done
