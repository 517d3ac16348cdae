// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt_speech_output.h"

#include <QLocale>
#include <QMutex>
#include <QMutexLocker>
#include <QTextToSpeech>

#include <memory>

namespace {

using Availability = SpeechOutput::Availability;

// Owns the engine; every call but post() runs on the speech thread.
class Reader final : public QObject
{
    Q_OBJECT

public:
    void open()
    {
        Availability found = Availability::noEngine;
        QStringList engines = QTextToSpeech::availableEngines();
        // speech-dispatcher first: it speaks with the voices the desktop set up.
        if (engines.removeAll(QStringLiteral("speechd")) > 0)
            engines.prepend(QStringLiteral("speechd"));
        for (const QString &engine : std::as_const(engines)) {
            auto tts = std::make_unique<QTextToSpeech>(engine);
            if (tts->state() == QTextToSpeech::Error)
                continue;
            const QList<QLocale> locales = tts->availableLocales();
            const auto russian = std::find_if(locales.cbegin(), locales.cend(), [](const QLocale &l) {
                return l.language() == QLocale::Russian;
            });
            if (russian == locales.cend()) {
                found = Availability::noRussianVoice;
                continue;
            }
            tts->setLocale(*russian);
            if (tts->availableVoices().isEmpty()) {
                found = Availability::noRussianVoice;
                continue;
            }
            m_tts = std::move(tts);
            found = Availability::ready;
            break;
        }
        Q_EMIT opened(found);
    }

    // Any thread: keeps only the newest text, so a burst of words read while
    // the engine was busy comes out as the last one alone.
    void post(const QString &text)
    {
        QMutexLocker lock(&m_mutex);
        m_pending = text;
        if (std::exchange(m_posted, true))
            return;
        QMetaObject::invokeMethod(this, &Reader::speakPending, Qt::QueuedConnection);
    }

Q_SIGNALS:
    void opened(SpeechOutput::Availability availability);

private:
    void speakPending()
    {
        QString text;
        {
            QMutexLocker lock(&m_mutex);
            text = std::exchange(m_pending, QString());
            m_posted = false;
        }
        if (!m_tts)
            return;
        if (m_tts->state() == QTextToSpeech::Speaking)
            m_tts->stop(QTextToSpeech::BoundaryHint::Immediate);
        m_tts->say(text);
    }

    std::unique_ptr<QTextToSpeech> m_tts;
    QMutex m_mutex;
    QString m_pending;
    bool m_posted = false;
};

} // namespace

QtSpeechOutput::QtSpeechOutput()
{
    auto *reader = new Reader;
    reader->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, reader, &QObject::deleteLater);
    connect(reader, &Reader::opened, this, &QtSpeechOutput::setAvailability);
    m_reader = reader;
    m_thread.setObjectName(QStringLiteral("speech"));
}

QtSpeechOutput::~QtSpeechOutput()
{
    m_thread.quit();
    m_thread.wait();
}

void QtSpeechOutput::prepare()
{
    if (std::exchange(m_prepared, true))
        return;
    m_thread.start(QThread::LowPriority);
    QMetaObject::invokeMethod(static_cast<Reader *>(m_reader), &Reader::open, Qt::QueuedConnection);
}

void QtSpeechOutput::setAvailability(Availability availability)
{
    if (m_availability == availability)
        return;
    m_availability = availability;
    Q_EMIT availabilityChanged();
}

void QtSpeechOutput::say(const QString &text)
{
    if (m_availability == Availability::ready && !text.isEmpty())
        static_cast<Reader *>(m_reader)->post(text);
}

#include "qt_speech_output.moc"
