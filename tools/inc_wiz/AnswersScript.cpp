#include "AnswersScript.h"

#include <QFile>

namespace velora::wizard {

AnswersScript AnswersScript::read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        AnswersScript script;
        script.problem = QStringLiteral("The answers file %1 could not be read: %2")
                             .arg(path, file.errorString());
        return script;
    }
    return parse(QString::fromUtf8(file.readAll()));
}

AnswersScript AnswersScript::parse(const QString& text) {
    AnswersScript script;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size() && script.problem.isEmpty(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0) {
            script.fail(i + 1, QStringLiteral("expected key=value"));
            continue;
        }
        script.take(line.left(equals).trimmed().toLower(), line.mid(equals + 1).trimmed(), i + 1);
    }
    return script;
}

void AnswersScript::fail(int lineNumber, const QString& why) {
    if (problem.isEmpty())
        problem = QStringLiteral("Answers file, line %1: %2.").arg(lineNumber).arg(why);
}

void AnswersScript::take(const QString& key, const QString& value, int lineNumber) {
    const auto pair = [&](QString& first, QString& second) {
        const qsizetype colon = value.indexOf(QLatin1Char(':'));
        if (colon <= 0) {
            fail(lineNumber, QStringLiteral("expected %1=<number>:<rate>").arg(key));
            return false;
        }
        first = value.left(colon).trimmed();
        second = value.mid(colon + 1).trimmed();
        return true;
    };
    QString first;
    QString second;
    if (key == QLatin1String("shape")) {
        if (!SchemeShapes::fromKey(value, input.shape))
            fail(lineNumber, QStringLiteral("unknown shape \"%1\"").arg(value));
    } else if (key == QLatin1String("rate")) {
        input.rate = value;
    } else if (key == QLatin1String("band")) {
        if (pair(first, second)) {
            input.bandLimits.append(first);
            input.bandRates.append(second);
        }
    } else if (key == QLatin1String("lastrate")) {
        input.lastBandRate = value;
    } else if (key == QLatin1String("standard")) {
        input.standard = value;
    } else if (key == QLatin1String("threshold")) {
        input.threshold = value;
    } else if (key == QLatin1String("bonus")) {
        input.bonusRate = value;
    } else if (key == QLatin1String("minimum")) {
        input.minimumPerHour = value;
    } else if (key == QLatin1String("account")) {
        if (pair(first, second)) {
            bool ok = false;
            const int id = first.toInt(&ok);
            if (!ok)
                fail(lineNumber, QStringLiteral("\"%1\" is not an account id").arg(first));
            input.accounts.append({id, QString(), 0});
            input.accountRates.append(second);
        }
    } else if (key == QLatin1String("lines")) {
        if (value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            lines = LineMeasure::TrueLines;
        else if (value.compare(QLatin1String("char"), Qt::CaseInsensitive) == 0)
            lines = LineMeasure::CharLines;
        else
            fail(lineNumber, QStringLiteral("lines is true or char"));
    } else if (key == QLatin1String("hours")) {
        if (value.compare(QLatin1String("typed"), Qt::CaseInsensitive) == 0)
            hours = HourMeasure::TypedHours;
        else if (value.compare(QLatin1String("system"), Qt::CaseInsensitive) == 0)
            hours = HourMeasure::SystemHours;
        else
            fail(lineNumber, QStringLiteral("hours is typed or system"));
    } else if (key == QLatin1String("name")) {
        name = value;
    } else if (key == QLatin1String("finish")) {
        finish = value.compare(QLatin1String("no"), Qt::CaseInsensitive) != 0;
    } else {
        fail(lineNumber, QStringLiteral("unknown key \"%1\"").arg(key));
    }
}

} // namespace velora::wizard
