#include "SchemeValidator.h"

#include "suite/HXRegion.h"
#include "suite/SuiteError.h"

namespace velora::wizard {

QString SchemeValidator::readNumber(const QString& text, double& value) const {
    value = 0;
    if (text.trimmed().isEmpty())
        return QStringLiteral("Type a number.");
    QString plain;
    try {
        plain = region_.UnWrapNumeric(text.trimmed());
    } catch (const suite::SuiteError&) {
        return QStringLiteral("Not a number; type it like %1.")
            .arg(region_.locale().toString(1234.5, 'f', 2));
    }
    const qsizetype point = plain.indexOf(QLatin1Char('.'));
    if (point >= 0 && plain.size() - point - 1 > kMaxDecimals)
        return QStringLiteral("At most %1 decimals.").arg(kMaxDecimals);
    bool ok = false;
    value = plain.toDouble(&ok);
    if (!ok || qAbs(value) > 1e12)
        return QStringLiteral("This number is too large.");
    return {};
}

QString SchemeValidator::readRate(const QString& text, double& value) const {
    const QString reason = readNumber(text, value);
    if (!reason.isEmpty())
        return reason;
    if (value < 0)
        return QStringLiteral("A rate cannot be negative.");
    if (value > kMaxRate)
        return QStringLiteral("Out of range: at most %1 a line.")
            .arg(region_.locale().toString(kMaxRate, 'f', 2));
    return {};
}

QString SchemeValidator::readAmount(const QString& text, double& value) const {
    const QString reason = readNumber(text, value);
    if (!reason.isEmpty())
        return reason;
    if (value < 0)
        return QStringLiteral("Cannot be negative.");
    return {};
}

QString SchemeValidator::readPositive(const QString& text, double& value) const {
    const QString reason = readNumber(text, value);
    if (!reason.isEmpty())
        return reason;
    if (value <= 0)
        return QStringLiteral("Must be more than 0.");
    return {};
}

void SchemeValidator::check(const QString& field, const QString& reason,
                            QList<FieldProblem>& problems) const {
    if (!reason.isEmpty())
        problems.append({field, reason});
}

void SchemeValidator::readTiers(const SchemeInput& input, SchemeAnswers& answers,
                                QList<FieldProblem>& problems) const {
    answers.bands.clear();
    if (input.bandLimits.isEmpty())
        problems.append({QStringLiteral("bandLimit_0"),
                         QStringLiteral("A tiered scheme needs at least one band limit.")});
    if (input.bandLimits.size() > kMaxBands - 1)
        problems.append({QStringLiteral("bandLimit_%1").arg(kMaxBands - 1),
                         QStringLiteral("At most %1 bands.").arg(kMaxBands)});
    double previous = 0;
    bool previousRead = true;
    for (qsizetype i = 0; i < input.bandLimits.size(); ++i) {
        LineBand band;
        const QString limitField = QStringLiteral("bandLimit_%1").arg(i);
        QString reason = readPositive(input.bandLimits[i], band.upTo);
        if (reason.isEmpty() && previousRead && i > 0 && band.upTo <= previous)
            reason = QStringLiteral("Tiers out of order: this limit must be above %1.")
                         .arg(region_.locale().toString(previous, 'g', 12));
        check(limitField, reason, problems);
        previousRead = reason.isEmpty();
        previous = band.upTo;
        check(QStringLiteral("bandRate_%1").arg(i), readRate(input.bandRates.value(i), band.rate),
              problems);
        answers.bands.append(band);
    }
    check(QStringLiteral("lastBandRate"), readRate(input.lastBandRate, answers.lastBandRate),
          problems);
}

void SchemeValidator::readAccounts(const SchemeInput& input, SchemeAnswers& answers,
                                   QList<FieldProblem>& problems) const {
    answers.accountRates.clear();
    if (input.accounts.isEmpty())
        problems.append({QStringLiteral("accounts"),
                         QStringLiteral("Choose at least one account with its own rate.")});
    for (qsizetype i = 0; i < input.accounts.size(); ++i) {
        AccountRate account = input.accounts[i];
        check(QStringLiteral("accountRate_%1").arg(i),
              readRate(input.accountRates.value(i), account.rate), problems);
        answers.accountRates.append(account);
    }
}

QList<FieldProblem> SchemeValidator::read(const SchemeInput& input, SchemeAnswers& answers) const {
    QList<FieldProblem> problems;
    answers.shape = input.shape;
    const QString rateField = QStringLiteral("rate");
    switch (input.shape) {
    case SchemeShape::LineRate:
    case SchemeShape::AccountRates:
        check(rateField, readRate(input.rate, answers.rate), problems);
        if (input.shape == SchemeShape::AccountRates)
            readAccounts(input, answers, problems);
        break;
    case SchemeShape::TieredRates:
        readTiers(input, answers, problems);
        break;
    case SchemeShape::ProductionStandard:
        check(QStringLiteral("standard"), readPositive(input.standard, answers.standard), problems);
        check(rateField, readRate(input.rate, answers.rate), problems);
        break;
    case SchemeShape::MonthlyBonus:
        check(rateField, readRate(input.rate, answers.rate), problems);
        check(QStringLiteral("threshold"), readPositive(input.threshold, answers.threshold),
              problems);
        check(QStringLiteral("bonusRate"), readRate(input.bonusRate, answers.bonusRate), problems);
        break;
    case SchemeShape::MinimumGuarantee:
        check(rateField, readRate(input.rate, answers.rate), problems);
        check(QStringLiteral("minimumPerHour"),
              readAmount(input.minimumPerHour, answers.minimumPerHour), problems);
        break;
    }
    return problems;
}

} // namespace velora::wizard
