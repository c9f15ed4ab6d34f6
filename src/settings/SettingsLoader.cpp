#include "settings/SettingsLoader.h"

#include "platform/SettingsStore.h"
#include "settings/SettingsTarget.h"
#include "settings/WholeNumber.h"

#include <QStringList>

#include <algorithm>
#include <limits>

namespace {

const QString kApplication = QStringLiteral("PIVEX");
const QString kSection = QStringLiteral("Option");
// The font size has always been read from "option"; the store ignores case, so it is the same
// section.
const QString kFontSizeSection = QStringLiteral("option");
const QString kInterval = QStringLiteral("Interval");
const QString kEncode = QStringLiteral("Encode");
const QString kFontName = QStringLiteral("FontName");
const QString kFontSize = QStringLiteral("FontSize");

// In the order they are loaded.
const QStringList kKeysInLoadOrder {kInterval, kEncode, kFontName, kFontSize};

constexpr qint32 kInt16Min = std::numeric_limits<qint16>::min();
constexpr qint32 kInt16Max = std::numeric_limits<qint16>::max();

} // namespace

SettingsLoader::SettingsLoader(SettingsStore &store)
    : m_store(store)
{
}

SettingsResult SettingsLoader::LoadSettings(SettingsTarget &target) const
{
    const auto interval
        = toWholeNumber(m_store.read(kApplication, kSection, kInterval, QStringLiteral("1000")),
                        kInt16Min, kInt16Max);
    if (!interval || !target.setInterval(*interval))
        return {kInterval};

    const auto encode
        = toWholeNumber(m_store.read(kApplication, kSection, kEncode, QStringLiteral("0")));
    if (!encode)
        return {kEncode};
    target.setCharacterSet(*encode);

    target.setFontName(m_store.read(kApplication, kSection, kFontName, QStringLiteral("Terminal")));

    const auto fontSize = toWholeNumber(
        m_store.read(kApplication, kFontSizeSection, kFontSize, QStringLiteral("14")), kInt16Min,
        kInt16Max);
    if (!fontSize || !target.setFontSize(*fontSize))
        return {kFontSize};
    return {};
}

SettingsResult SettingsLoader::SaveSettings(const SettingsTarget &target)
{
    if (!m_store.save(kApplication, kSection, kInterval, QString::number(target.interval())))
        return {kInterval};
    if (!m_store.save(kApplication, kSection, kEncode, QString::number(target.characterSet())))
        return {kEncode};
    if (!m_store.save(kApplication, kSection, kFontName, target.fontName()))
        return {kFontName};
    if (!m_store.save(kApplication, kSection, kFontSize, formatFontSize(target.fontSize())))
        return {kFontSize};
    return {};
}

QString SettingsLoader::formatFontSize(double points)
{
    QString text = QString::number(points, 'f', 4);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    // A tiny negative size rounds to "-0", which reads back fine but looks like a fault.
    if (text == QLatin1StringView("-0"))
        text = QStringLiteral("0");
    return text;
}

QString SettingsLoader::brokenValueMessage(const SettingsResult &result, const QString &location)
{
    const qsizetype failedAt = std::max<qsizetype>(0, kKeysInLoadOrder.indexOf(result.failedKey));
    const QString defaults = failedAt == 0
        ? QStringLiteral("すべて")
        : kKeysInLoadOrder.mid(failedAt).join(QStringLiteral("、")) + QStringLiteral(" は");
    return QStringLiteral("設定ファイルの値が正しくありません [") + location + QStringLiteral("] ")
        + result.failedKey + QStringLiteral("\r\n") + defaults
        + QStringLiteral("既定の値で起動します");
}
