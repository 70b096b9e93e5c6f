#include "FormulaTemplate.h"

namespace velora::wizard {

namespace {

QString lineInput(LineMeasure measure) {
    return measure == LineMeasure::CharLines ? QStringLiteral("CharLines")
                                             : QStringLiteral("TrueLines");
}

QString hourInput(HourMeasure measure) {
    return measure == HourMeasure::SystemHours ? QStringLiteral("SystemHours")
                                               : QStringLiteral("HoursTyped");
}

// An account name in a comment: one line, whatever the name holds.
QString commentText(const QString& text) {
    QString flat = text;
    flat.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return flat.simplified();
}

} // namespace

QString FormulaTemplate::number(double value) {
    QString text = QString::number(value, 'f', 6);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

void FormulaTemplate::addTiers(const SchemeAnswers& answers, QStringList& lines) {
    QString below = QStringLiteral("0");
    bool first = true;
    for (const LineBand& band : answers.bands) {
        const QString upTo = number(band.upTo);
        const QString inBand =
            first ? QString(QStringLiteral("Min(workLines, ") + upTo + QLatin1Char(')'))
                  : QString(QStringLiteral("Max(Min(workLines, ") + upTo + QStringLiteral(") - ") +
                            below + QStringLiteral(", 0)"));
        const QString from =
            first ? QString() : QString(QStringLiteral("past ") + below + QLatin1Char(' '));
        lines << QStringLiteral("' Lines ") + from + QStringLiteral("up to ") + upTo +
                     QStringLiteral(" at ") + number(band.rate);
        lines << (first ? QStringLiteral("pay = ") : QStringLiteral("pay = pay + ")) + inBand +
                     QStringLiteral(" * ") + number(band.rate);
        below = upTo;
        first = false;
    }
    lines << QStringLiteral("' Lines past ") + below + QStringLiteral(" at ") +
                 number(answers.lastBandRate);
    lines << QStringLiteral("pay = pay + Max(workLines - ") + below + QStringLiteral(", 0) * ") +
                 number(answers.lastBandRate);
}

void FormulaTemplate::addAccountRates(const SchemeAnswers& answers, QStringList& lines) {
    lines << QStringLiteral("Select Case AccountID");
    for (const AccountRate& account : answers.accountRates) {
        lines << QStringLiteral("' ") + commentText(account.accountName);
        lines << QStringLiteral("Case ") + QString::number(account.accountId);
        lines << QStringLiteral("    rate = ") + number(account.rate);
    }
    lines << QStringLiteral("' Every other account");
    lines << QStringLiteral("Case Else");
    lines << QStringLiteral("    rate = ") + number(answers.rate);
    lines << QStringLiteral("End Select");
    lines << QStringLiteral("pay = workLines * rate");
}

void FormulaTemplate::addPay(const SchemeAnswers& answers, QStringList& lines) {
    const QString rate = number(answers.rate);
    switch (answers.shape) {
    case SchemeShape::LineRate:
        lines << QStringLiteral("pay = workLines * ") + rate;
        break;
    case SchemeShape::TieredRates:
        addTiers(answers, lines);
        break;
    case SchemeShape::ProductionStandard:
        lines << QStringLiteral("' Lines above the standard of ") + number(answers.standard) +
                     QStringLiteral(" lines per hour");
        lines << QStringLiteral("above = workLines - workHours * ") + number(answers.standard);
        lines << QStringLiteral("If above < 0 Then above = 0");
        lines << QStringLiteral("pay = above * ") + rate;
        break;
    case SchemeShape::MonthlyBonus:
        lines << QStringLiteral("' This account's lines of the month so far, this day included");
        lines << QStringLiteral("monthLines = MonthToDate(\"") + lineInput(answers.lines) +
                     QStringLiteral("\")");
        lines << QStringLiteral("' The part of this day's lines past ") +
                     number(answers.threshold) + QStringLiteral(" in the month");
        lines << QStringLiteral("past = monthLines - ") + number(answers.threshold);
        lines << QStringLiteral("If past > workLines Then past = workLines");
        lines << QStringLiteral("If past < 0 Then past = 0");
        lines << QStringLiteral("pay = workLines * ") + rate + QStringLiteral(" + past * ") +
                     number(answers.bonusRate);
        break;
    case SchemeShape::AccountRates:
        addAccountRates(answers, lines);
        break;
    case SchemeShape::MinimumGuarantee:
        lines << QStringLiteral("pay = workLines * ") + rate;
        lines << QStringLiteral("' Never less than ") + number(answers.minimumPerHour) +
                     QStringLiteral(" per hour worked");
        lines << QStringLiteral("If pay < workHours * ") + number(answers.minimumPerHour) +
                     QStringLiteral(" Then pay = workHours * ") + number(answers.minimumPerHour);
        break;
    }
}

QString FormulaTemplate::generate(const SchemeAnswers& answers) {
    QStringList lines;
    lines << QStringLiteral("' ") + SchemeShapes::describe(answers.shape).title +
                 QStringLiteral(" (written by the formula wizard)");
    lines << QStringLiteral("Dim workLines, workHours, pay");
    lines << QStringLiteral("workLines = ") + lineInput(answers.lines);
    lines << QStringLiteral("workHours = ") + hourInput(answers.hours);
    addPay(answers, lines);
    lines << QStringLiteral("Results.ILines = workLines");
    lines << QStringLiteral("Results.IHours = workHours");
    lines << QStringLiteral("Results.IPay = Round(pay, 2)");
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace velora::wizard
