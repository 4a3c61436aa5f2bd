#include "ui/app/qsettings_store.h"

#include "core/app/version.h"

#include <limits>

namespace tarvellite::ui {

namespace {

QString keyOf(std::string_view section, std::string_view name) {
    return QString::fromStdString(settingsKey(section, name));
}

QString toQString(std::u16string_view s) {
    return QString(reinterpret_cast<const QChar *>(s.data()), static_cast<qsizetype>(s.size()));
}

} // namespace

QSettingsStore::QSettingsStore()
    : settings_(QSettings::NativeFormat, QSettings::UserScope, QString::fromUtf8(makerName),
                QString::fromUtf8(productName)) {}

std::optional<std::int32_t> QSettingsStore::readInt(std::string_view section,
                                                    std::string_view name) {
    const QVariant v = settings_.value(keyOf(section, name));
    if (!v.isValid())
        return std::nullopt;
    bool ok = false;
    qlonglong n = 0;
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong: n = v.toLongLong(&ok); break;
    // The native format on Linux keeps every plain value as text.
    case QMetaType::QString: n = v.toString().trimmed().toLongLong(&ok); break;
    default: return std::nullopt;
    }
    if (!ok || n < std::numeric_limits<std::int32_t>::min() ||
        n > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(n);
}

std::optional<std::u16string> QSettingsStore::readString(std::string_view section,
                                                         std::string_view name) {
    const QVariant v = settings_.value(keyOf(section, name));
    if (!v.isValid() || v.typeId() != QMetaType::QString)
        return std::nullopt;
    const QString s = v.toString();
    return std::u16string(reinterpret_cast<const char16_t *>(s.utf16()),
                          static_cast<std::size_t>(s.size()));
}

std::optional<Bytes> QSettingsStore::readBinary(std::string_view section, std::string_view name) {
    const QVariant v = settings_.value(keyOf(section, name));
    if (!v.isValid() || v.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    const QByteArray b = v.toByteArray();
    return Bytes(reinterpret_cast<const std::uint8_t *>(b.constData()),
                 reinterpret_cast<const std::uint8_t *>(b.constData()) + b.size());
}

void QSettingsStore::writeInt(std::string_view section, std::string_view name, std::int32_t value) {
    settings_.setValue(keyOf(section, name), static_cast<int>(value));
}

void QSettingsStore::writeString(std::string_view section, std::string_view name,
                                 std::u16string_view value) {
    settings_.setValue(keyOf(section, name), toQString(value));
}

void QSettingsStore::writeBinary(std::string_view section, std::string_view name,
                                 std::span<const std::uint8_t> value) {
    settings_.setValue(keyOf(section, name),
                       QByteArray(reinterpret_cast<const char *>(value.data()),
                                  static_cast<qsizetype>(value.size())));
}

void QSettingsStore::removeAll() {
    settings_.clear();
    settings_.sync();
}

bool QSettingsStore::flush() {
    settings_.sync();
    return settings_.status() == QSettings::NoError;
}

} // namespace tarvellite::ui
