#include "highlight/HighlightSettings.h"

#include "platform/SettingsStore.h"
#include "settings/WholeNumber.h"

namespace {

const QString kApplication = QStringLiteral("PIVEX");
const QString kSection = QStringLiteral("Highlight");
const QString kCount = QStringLiteral("Count");

QString ruleKey(int number)
{
    return QStringLiteral("Rule") + QString::number(number);
}

QString colourText(const QColor &colour)
{
    return colour.isValid() ? colour.name(QColor::HexRgb) : QString();
}

// Empty text is no colour; anything else must be #rrggbb.
std::optional<QColor> colourFrom(QStringView text)
{
    if (text.isEmpty())
        return QColor();
    if (text.size() != 7 || !text.startsWith(u'#'))
        return std::nullopt;
    const QColor colour = QColor::fromString(text);
    return colour.isValid() ? std::optional<QColor>(colour) : std::nullopt;
}

} // namespace

HighlightSettings::HighlightSettings(SettingsStore &store)
    : m_store(store)
{
}

QString HighlightSettings::format(const HighlightRule &rule)
{
    return QStringList {rule.wholeLine ? QStringLiteral("line") : QStringLiteral("word"),
                        rule.matchCase ? QStringLiteral("case") : QStringLiteral("nocase"),
                        colourText(rule.foreground), colourText(rule.background), rule.word}
        .join(QLatin1Char(','));
}

std::optional<HighlightRule> HighlightSettings::parse(const QString &value)
{
    // Four fields, then the word with whatever commas it holds.
    QList<QStringView> fields;
    QStringView rest(value);
    for (int k = 0; k < 4; ++k) {
        const qsizetype comma = rest.indexOf(QLatin1Char(','));
        if (comma < 0)
            return std::nullopt;
        fields << rest.first(comma);
        rest = rest.sliced(comma + 1);
    }
    HighlightRule rule;
    if (fields[0] != u"line" && fields[0] != u"word")
        return std::nullopt;
    rule.wholeLine = fields[0] == u"line";
    if (fields[1] != u"case" && fields[1] != u"nocase")
        return std::nullopt;
    rule.matchCase = fields[1] == u"case";
    const auto foreground = colourFrom(fields[2]);
    const auto background = colourFrom(fields[3]);
    if (!foreground || !background)
        return std::nullopt;
    rule.foreground = *foreground;
    rule.background = *background;
    rule.word = rest.toString();
    return rule.isUsable() ? std::optional<HighlightRule>(rule) : std::nullopt;
}

int HighlightSettings::storedCount() const
{
    return toWholeNumber(m_store.read(kApplication, kSection, kCount, QStringLiteral("0")), 0,
                         kMaxRules)
        .value_or(-1);
}

HighlightSettings::Loaded HighlightSettings::load() const
{
    Loaded loaded;
    const int count = storedCount();
    if (count < 0) {
        loaded.brokenKeys << kCount;
        return loaded;
    }
    std::vector<HighlightRule> rules;
    for (int number = 1; number <= count; ++number) {
        const auto rule = parse(m_store.read(kApplication, kSection, ruleKey(number), {}));
        if (rule)
            rules.push_back(*rule);
        else
            loaded.brokenKeys << ruleKey(number);
    }
    loaded.rules = HighlightRules(std::move(rules));
    return loaded;
}

bool HighlightSettings::save(const HighlightRules &rules)
{
    const int count = int(rules.rules().size());
    const int before = std::max(storedCount(), 0);
    for (int number = 1; number <= std::max(count, before); ++number) {
        const QString value = number <= count ? format(rules.at(number - 1)) : QString();
        if (!m_store.save(kApplication, kSection, ruleKey(number), value))
            return false;
    }
    return m_store.save(kApplication, kSection, kCount, QString::number(count));
}

QString HighlightSettings::brokenRulesMessage(const QStringList &keys, const QString &location)
{
    const QString which = keys == QStringList {kCount} ? QStringLiteral("強調表示の規則")
                                                       : keys.join(QStringLiteral("、"));
    return QStringLiteral("設定ファイルの値が正しくありません [") + location + QStringLiteral("] ")
        + keys.join(QStringLiteral("、")) + QStringLiteral("\r\n") + which
        + QStringLiteral(" は使わずに起動します");
}
