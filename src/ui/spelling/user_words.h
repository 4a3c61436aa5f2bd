#pragma once

#include <QObject>
#include <QString>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarvellite {
class CDictionary;
}

namespace tarvellite::ui {

class AppContext;

/// QString and UTF-16 text.
inline QString toQString(std::u16string_view s) {
    return QString(reinterpret_cast<const QChar *>(s.data()), static_cast<qsizetype>(s.size()));
}
inline std::u16string toU16(const QString &s) {
    return std::u16string(reinterpret_cast<const char16_t *>(s.utf16()),
                          static_cast<std::size_t>(s.size()));
}

/// What reading a user dictionary file found.
enum class UserFileState { Missing, Read, Damaged };

/// Reads the user words of the file at `path` into `words` (emptied first).
UserFileState readUserWords(const std::string &path, std::vector<std::u16string> &words);

/// Writes `words` to the user dictionary file at `path` through a temporary file. A file there
/// that cannot be read as a user dictionary is first kept as "<path>.bak" and the user is told.
/// False (after saying so when `report`) when the file cannot be written.
bool writeUserWords(const std::string &path, const std::vector<std::u16string> &words);

/// Keeps the user words of every open dictionary in step with their files: whoever changes a
/// user dictionary file says so here, and every dictionary that uses that file reads it again.
/// One per application context (a child object of it).
class UserWordsHub : public QObject {
    Q_OBJECT
  public:
    static UserWordsHub &of(AppContext &context);

    /// Adds `word` to the file at `path`, merged with what the file holds now (another window
    /// may have changed it), and announces the change. False when it cannot be written.
    bool addWord(const std::string &path, std::u16string_view word);
    /// Announces that the file at `path` was rewritten.
    void announce(const std::string &path);

  signals:
    void userWordsChanged(const QString &path);

  private:
    explicit UserWordsHub(QObject *parent) : QObject(parent) {}
};

/// The dictionaries of the marks made while typing: for each language the chosen dictionary,
/// loaded on first need and kept in step with the choice and the user words. One per context.
class MarkDictionaries : public QObject {
    Q_OBJECT
  public:
    static MarkDictionaries &of(AppContext &context);
    ~MarkDictionaries() override;

    /// The dictionary for a word that begins with `unit` (by its script), or null when the
    /// script has none.
    CDictionary *forUnit(char16_t unit);
    /// Forgets every loaded dictionary (the choices changed).
    void reset();
    /// Asks for new marks (the ignore list changed).
    void refresh() { emit changed(); }

    /// Whether misspelled words are marked while typing (on unless the user turned it off; kept
    /// with the settings).
    bool enabled() const { return enabled_; }
    void setEnabled(bool on);

  signals:
    /// The dictionaries' words changed: marks must be made again.
    void changed();
    void enabledChanged(bool on);

  private:
    explicit MarkDictionaries(AppContext &context);
    AppContext &context_;
    std::map<std::string, std::unique_ptr<CDictionary>> loaded_; // by language code
    bool enabled_ = true;
};

/// The two-letter language code of the script `unit` belongs to ("EN", "HI", ...), or empty.
std::string_view languageCodeOfUnit(char16_t unit);

} // namespace tarvellite::ui
