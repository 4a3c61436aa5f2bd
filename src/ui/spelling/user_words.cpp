#include "ui/spelling/user_words.h"

#include "core/app/file_io.h"
#include "core/app/messages.h"
#include "core/app/settings_store.h"
#include "core/spelling/dictionary.h"
#include "core/spelling/dictionary_file.h"
#include "ui/app/app_context.h"

#include <QFile>
#include <algorithm>

namespace tarvellite::ui {

namespace {
constexpr std::size_t maxUserFileBytes = 64u << 20;
constexpr std::string_view marksSection = "Workspace";
constexpr std::string_view marksName = "SpellMarks";
} // namespace

UserFileState readUserWords(const std::string &path, std::vector<std::u16string> &words) {
    words.clear();
    if (!fileExists(path))
        return UserFileState::Missing;
    const Result<Bytes> bytes = readWholeFile(path, maxUserFileBytes);
    if (!bytes.ok())
        return UserFileState::Damaged;
    Result<std::vector<std::u16string>> read = readUserDictionaryFile(bytes.value());
    if (!read.ok())
        return UserFileState::Damaged;
    words = std::move(read.value());
    return UserFileState::Read;
}

bool writeUserWords(const std::string &path, const std::vector<std::u16string> &words) {
    std::vector<std::u16string> current;
    if (readUserWords(path, current) == UserFileState::Damaged) {
        // Never overwrite a file we cannot read without keeping it.
        const QString from = QString::fromStdString(path);
        const QString backup = from + QStringLiteral(".bak");
        QFile::remove(backup);
        if (!QFile::copy(from, backup)) {
            showMessage({"Unable to open the user dictionary file for Editing", "TarvelLite",
                         MessageIcon::Error});
            return false;
        }
        showMessage({"The user dictionary file " + path + " could not be read. It was kept as " +
                         backup.toStdString(),
                     "TarvelLite", MessageIcon::Warning});
    }
    return writeFileAtomically(path, writeUserDictionaryFile(words)).ok();
}

UserWordsHub &UserWordsHub::of(AppContext &context) {
    auto *hub = context.findChild<UserWordsHub *>(QString(), Qt::FindDirectChildrenOnly);
    if (!hub)
        hub = new UserWordsHub(&context);
    return *hub;
}

bool UserWordsHub::addWord(const std::string &path, std::u16string_view word) {
    if (path.empty() || word.empty())
        return false;
    std::vector<std::u16string> words;
    readUserWords(path, words);
    if (std::find(words.begin(), words.end(), word) != words.end())
        return true;
    words.emplace_back(word);
    if (!writeUserWords(path, words))
        return false;
    announce(path);
    return true;
}

void UserWordsHub::announce(const std::string &path) {
    emit userWordsChanged(QString::fromStdString(path));
}

std::string_view languageCodeOfUnit(char16_t unit) {
    if (unit >= u'A' && unit <= u'z')
        return "EN";
    if (unit >= 0x0900 && unit <= 0x097F)
        return "HI";
    if (unit >= 0x0B80 && unit <= 0x0BFF)
        return "TA";
    if (unit >= 0x0C00 && unit <= 0x0C7F)
        return "TE";
    if (unit >= 0x0C80 && unit <= 0x0CFF)
        return "KN";
    if (unit >= 0x0D00 && unit <= 0x0D7F)
        return "ML";
    if (unit >= 0x0D80 && unit <= 0x0DFF)
        return "SI";
    return {};
}

MarkDictionaries &MarkDictionaries::of(AppContext &context) {
    auto *marks = context.findChild<MarkDictionaries *>(QString(), Qt::FindDirectChildrenOnly);
    if (!marks)
        marks = new MarkDictionaries(context);
    return *marks;
}

MarkDictionaries::MarkDictionaries(AppContext &context) : QObject(&context), context_(context) {
    if (SettingsStore *store = context.store())
        enabled_ = store->readInt(marksSection, marksName).value_or(1) != 0;
    connect(&context, &AppContext::settingsChanged, this, [this](unsigned parts) {
        if (parts & (DictionaryPart | FolderPart)) {
            reset();
            emit changed();
        }
    });
    connect(&UserWordsHub::of(context), &UserWordsHub::userWordsChanged, this,
            [this](const QString &path) {
                bool any = false;
                for (auto &[code, dictionary] : loaded_) {
                    if (dictionary && QString::fromStdString(dictionary->userDictPath()) == path) {
                        dictionary.reset();
                        any = true;
                    }
                }
                if (any) {
                    std::erase_if(loaded_, [](const auto &entry) { return !entry.second; });
                    emit changed();
                }
            });
}

MarkDictionaries::~MarkDictionaries() = default;

void MarkDictionaries::setEnabled(bool on) {
    if (on == enabled_)
        return;
    enabled_ = on;
    if (SettingsStore *store = context_.store())
        store->writeInt(marksSection, marksName, on ? 1 : 0);
    emit enabledChanged(on);
}

void MarkDictionaries::reset() {
    loaded_.clear();
}

CDictionary *MarkDictionaries::forUnit(char16_t unit) {
    const std::string_view code = languageCodeOfUnit(unit);
    if (code.empty())
        return nullptr;
    const auto found = loaded_.find(std::string(code));
    if (found != loaded_.end())
        return found->second.get();
    // Loaded once per language, kept even when there is none (null).
    std::unique_ptr<CDictionary> &slot = loaded_[std::string(code)];
    Settings &settings = context_.mutableSettings();
    const DictionaryRegistry &registry = context_.dictionaries();
    const std::u16string code16(code.begin(), code.end());
    const int index = registry.FindDictionaryIndex(u"", code16, settings.defaultDictionaries);
    const DICTIONARYPATH *entry = registry.at(index);
    if (!entry)
        return nullptr;
    auto dictionary = std::make_unique<CDictionary>();
    if (!dictionary->Load(entry->path, settings.userDictionaryPath))
        return nullptr;
    slot = std::move(dictionary);
    return slot.get();
}

} // namespace tarvellite::ui
