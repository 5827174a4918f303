// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtservices.h"

#include <QApplication>
#include <QDateTime>
#include <QLocale>
#include <QMessageBox>
#include <QRegularExpression>

namespace tavoro {

namespace {

// The locale's long time format without its time-zone field ("t"): a desk clock shows the time,
// not the zone, and the zone name would only widen the label.
QString timeFormatWithoutZone(const QLocale& locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b\\s*"));
    format.replace(zone, QStringLiteral(" "));
    return format.trimmed();
}

} // namespace

// The toolkit's bell rings on the user-interface thread, in the order of the presses it stands for.
QtServices::QtServices()
    : m_eventSound(QGuiApplication::applicationDisplayName().toStdString(), [] {
        QMetaObject::invokeMethod(qApp, [] { QApplication::beep(); }, Qt::QueuedConnection);
    })
{
}

void QtServices::beep() { m_eventSound.play("bell-window-system", "Beep"); }

void QtServices::messageBox(const std::string& text)
{
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), QString::fromStdString(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

std::string QtServices::currentDateTime()
{
    const QLocale locale;
    const QDateTime now = QDateTime::currentDateTime();
    const QString text = locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.toString(now.time(), timeFormatWithoutZone(locale));
    return text.toStdString();
}

} // namespace tavoro
