#pragma once

#include "core/app/byte_reader.h"
#include "core/app/result.h"

#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace tarvellite {

/// The three header values of a word file and of a user dictionary file.
inline constexpr std::int32_t dictionaryMagic = 121601;
inline constexpr std::int32_t dictionaryVersion = 400;
inline constexpr std::int32_t dictionaryRevision = 350;

/// Shortest and longest word of the length index, in UTF-16 units.
inline constexpr std::size_t minWordUnits = 2;
inline constexpr std::size_t maxWordUnits = 32;
/// Longest word our word files hold. Words longer than `maxWordUnits` (long compounds, above
/// all in Malayalam) are found by checks and prefix lookups but have no place in the length
/// index.
inline constexpr std::size_t maxStoredWordUnits = 64;

/// Entry of the initial index (16 bytes in the file).
struct DICTINDEX {
    std::int32_t firstWord = 0;   ///< list position of the first word with this initial
    std::int32_t reserved = 0;    ///< unused
    std::int32_t secondFirst = 0; ///< first second-index entry of this initial
    std::int32_t secondEnd = 0;   ///< one past its last second-index entry
    bool operator==(const DICTINDEX &) const = default;
};

/// Entry of the second index (8 bytes in the file, the last 2 padding).
struct SECONDDICTINDEX {
    std::int32_t firstWord = 0; ///< first word beginning with the initial and `secondChar`
    char16_t secondChar = 0;
    bool operator==(const SECONDDICTINDEX &) const = default;
};

inline constexpr std::size_t dictIndexBytes = 16;
inline constexpr std::size_t secondDictIndexBytes = 8;

/// Everything a word file holds, in file order.
struct DictionaryFileData {
    std::int32_t minChar = 0;
    std::int32_t maxChar = 0;
    std::array<std::u16string, 4> classes; ///< C1..C4: placeholders *, @, ~, %
    std::array<std::u16string, 3> extras;  ///< kept, unused
    std::map<char16_t, DICTINDEX> initialIndex;
    std::vector<SECONDDICTINDEX> secondIndex;
    std::vector<std::u16string> words;
    bool operator==(const DictionaryFileData &) const = default;
};

/// Why a word file could not be read.
enum class DictionaryReadFailure {
    BadHeader, ///< not a word file, or another version
    Damaged,   ///< the header is right but the file ends early or a value does not fit
};

struct DictionaryReadError {
    DictionaryReadFailure kind = DictionaryReadFailure::Damaged;
    Error error;
};

/// Receives the words of a word file one at a time, so that a reader can keep them its own way.
class DictionaryWordSink {
  public:
    virtual ~DictionaryWordSink() = default;
    /// Called once with the count, which has been checked against the bytes that remain, and
    /// the most UTF-16 units the words can hold together.
    virtual void reserve(std::size_t count, std::size_t maxUnits) = 0;
    virtual void add(std::u16string_view word) = 0;
    /// A word of `units` UTF-16 units stored little-endian at `bytes` (not aligned).
    virtual void addLittleEndian(const std::uint8_t *bytes, std::size_t units);
};

/// Reads a word file from its bytes. Every count and string length is checked against the
/// bytes that remain before anything is allocated; the index values are not checked here
/// (their users clamp them). Trailing bytes after the word list are ignored. With a `sink` the
/// words go to it and `out.words` stays empty. On failure `out` is left in an unspecified but
/// valid state.
bool readDictionaryFile(std::span<const std::uint8_t> bytes, DictionaryFileData &out,
                        DictionaryReadError &error, DictionaryWordSink *sink = nullptr);

/// The bytes of a word file (no checks on the content).
Bytes writeDictionaryFile(const DictionaryFileData &data);

/// Fills `initialIndex` and `secondIndex` from `words`, which must be sorted by UTF-16 units.
void buildDictionaryIndexes(DictionaryFileData &data);

/// Whether the first twelve bytes are the header of a word file.
bool hasDictionaryHeader(std::span<const std::uint8_t> bytes);

/// Reads a user dictionary file: the header, then a string list. Fails on a wrong header or a
/// damaged list.
Result<std::vector<std::u16string>> readUserDictionaryFile(std::span<const std::uint8_t> bytes);

/// The bytes of a user dictionary file holding `words`.
Bytes writeUserDictionaryFile(const std::vector<std::u16string> &words);

} // namespace tarvellite
