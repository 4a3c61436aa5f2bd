// tarvellite-cli type: types keys into an empty text and prints the text.

#include "cli/command.h"
#include "core/app/messages.h"
#include "core/app/unicode.h"
#include "core/input/key_script.h"

#include <cctype>
#include <cstdio>
#include <optional>

namespace tarvellite::cli {

namespace {

constexpr const char *typeUsage =
    "usage: tarvellite-cli type [--data-folder DIR] [--language N|CODE] [--keyboard K]\n"
    "                           [--enhanced 0|1] [--auto-pulli 0|1] [--caps-lock] [--hex]\n"
    "                           [--] KEYS\n"
    "\n"
    "Types KEYS, one physical key press per character, into an empty text with the\n"
    "language's keyboard and prints the text (UTF-8, or with --hex its UTF-16 units).\n"
    "A space is the space bar; \\b Backspace, \\t Tab, \\n Enter, ^x Ctrl+x, \\\\ and \\^\n"
    "the backslash and caret keys. K is the keyboard's index within the language.\n";

int usageError(const std::string &why) {
    return cli::usageError("type", why, typeUsage);
}

std::optional<bool> parseFlag(const std::string &s) {
    if (s == "0")
        return false;
    if (s == "1")
        return true;
    return std::nullopt;
}

int runType(const std::vector<std::string> &args) {
    std::string dataFolder = programFolder();
    std::string language;
    std::optional<int> keyboard;
    bool enhanced = true, autoPulli = true, capsLock = false, hex = false;
    std::optional<std::string> keys;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        const auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size())
                return std::nullopt;
            return args[++i];
        };
        if (a == "--help" || a == "-h") {
            std::fputs(typeUsage, stdout);
            return exitOk;
        } else if (a == "--") {
            if (i + 2 != args.size())
                return usageError("give the keys as one argument after --");
            keys = args[i + 1];
            break;
        } else if (a == "--data-folder") {
            auto v = value();
            if (!v)
                return usageError("--data-folder needs a folder");
            dataFolder = *v;
        } else if (a == "--language") {
            auto v = value();
            if (!v)
                return usageError("--language needs an index or a code");
            language = *v;
        } else if (a == "--keyboard") {
            auto v = value();
            auto n = v ? parseCount(*v) : std::nullopt;
            if (!n)
                return usageError("--keyboard needs a keyboard index");
            keyboard = *n;
        } else if (a == "--enhanced" || a == "--auto-pulli") {
            auto v = value();
            auto f = v ? parseFlag(*v) : std::nullopt;
            if (!f)
                return usageError(a + " takes 0 or 1");
            (a == "--enhanced" ? enhanced : autoPulli) = *f;
        } else if (a == "--caps-lock") {
            capsLock = true;
        } else if (a == "--hex") {
            hex = true;
        } else if (a.size() > 1 && a[0] == '-' && !keys) {
            return usageError("unknown option " + a);
        } else if (!keys) {
            keys = a;
        } else {
            return usageError("give the keys as one argument (quote them)");
        }
    }
    if (!keys)
        return usageError("no keys given");
    Result<std::vector<KeyStroke>> strokes = parseKeyScript(*keys);
    if (!strokes) {
        std::fprintf(stderr, "tarvellite-cli type: %s\n", strokes.error().message.c_str());
        return exitUsage;
    }

    KeyboardTables tables;
    if (!LoadKeyboardData(dataFolder, tables)) {
        std::fprintf(stderr, "tarvellite-cli type: cannot load %s from %s\n", keyboardDataFileName,
                     dataFolder.c_str());
        return exitUsage;
    }
    int languageIndex = 0;
    if (!language.empty()) {
        std::optional<int> n = parseCount(language);
        if (!n) {
            std::string code = language;
            for (char &c : code)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            for (std::size_t i = 0; i < tables.languageCodes.size(); ++i)
                if (tables.languageCodes[i] == code)
                    n = static_cast<int>(i);
        }
        if (!n || *n >= static_cast<int>(tables.languageTable.size())) {
            std::fprintf(stderr, "tarvellite-cli type: unknown language \"%s\"\n",
                         language.c_str());
            return exitUsage;
        }
        languageIndex = *n;
    }
    if (languageIndex >= static_cast<int>(tables.languageTable.size())) {
        std::fprintf(stderr, "tarvellite-cli type: the keyboard data holds no languages\n");
        return exitUsage;
    }
    InputContext context(tables);
    context.SelectLanguage(languageIndex);
    if (keyboard) {
        if (*keyboard >= tables.languageTable[languageIndex].keyboardsInLanguage) {
            std::fprintf(stderr, "tarvellite-cli type: language %s has no keyboard %d\n",
                         tables.languageCodes[languageIndex].c_str(), *keyboard);
            return exitUsage;
        }
        context.SelectKeyboard(*keyboard);
    }
    TranslationEngine engine(context);
    engine.options().enhancedEditing = enhanced;
    engine.options().autoPulli = autoPulli;
    engine.setCapsLock(capsLock);
    MemoryTarget target;
    typeKeyStrokes(engine, target, TargetKind::TargetDocument, *strokes);
    const std::string out = hex ? hexUnits(target.text()) : utf16ToUtf8(target.text());
    std::printf("%s\n", out.c_str());
    return exitOk;
}

const Registration registration{
    {"type", "type keys with a language's keyboard and print the text", runType}};

} // namespace

} // namespace tarvellite::cli
