// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "manuscript_view_model.h"

#include "app_state.h"
#include "characters.h"
#include "manuscript.h"
#include "russian_plural.h"

#include <QVariant>

#include <algorithm>

ManuscriptViewModel::ManuscriptViewModel(QObject *parent) : AppViewModel(parent)
{
    m_idle.setSingleShot(true);
    m_idle.setInterval(idleMs);
    connect(&m_idle, &QTimer::timeout, this, &ManuscriptViewModel::draftWanted);
}

void ManuscriptViewModel::refresh()
{
    const bool opening = m_saved.isEmpty() && m_draft.isEmpty();
    refreshSaved();
    // A fresh screen opens on the stored text.
    if (opening && !m_saved.isEmpty())
        replaceDraft(m_saved, m_editing);
}

void ManuscriptViewModel::refreshSaved()
{
    const bool wasSummary = summaryShown();
    m_saved = app() ? app()->store()->data().manuscript.value_or(QString()) : QString();
    m_savedLength = Characters::count(m_saved);
    m_fragments = Manuscript::chunks(m_saved);
    Q_EMIT savedChanged();
    if (summaryShown() != wasSummary)
        Q_EMIT faceChanged();
}

void ManuscriptViewModel::setDraft(const QString &draft)
{
    m_idle.stop();
    if (draft == m_draft)
        return;
    m_draft = draft;
    recount();
}

void ManuscriptViewModel::replaceDraft(const QString &text, bool editing)
{
    const bool wasSummary = summaryShown();
    setDraft(text);
    if (editing != m_editing) {
        m_editing = editing;
        Q_EMIT editingChanged();
    }
    if (summaryShown() != wasSummary)
        Q_EMIT faceChanged();
    Q_EMIT draftReplaced();
}

void ManuscriptViewModel::recount()
{
    const QString cleaned = Manuscript::normalize(m_draft);
    m_cleanedLength = Characters::count(cleaned);
    m_cleanedFragments = Manuscript::chunks(cleaned).size();
    m_foreign = Manuscript::foreignCharacters(cleaned);
    Q_EMIT draftChanged();
}

void ManuscriptViewModel::edited(int length)
{
    // A pasted chapter is counted once the typing pauses, so keystrokes in a
    // long text stay cheap.
    if (length > largeDraft)
        m_idle.start();
    else
        Q_EMIT draftWanted();
}

QString ManuscriptViewModel::counterText() const
{
    if (m_cleanedLength == 0)
        return QStringLiteral("Пусто — вставьте текст");
    return RussianPlural::counted(m_cleanedLength, RussianPlural::sign) + QStringLiteral(" · ")
        + RussianPlural::counted(m_cleanedFragments, RussianPlural::fragment);
}

QString ManuscriptViewModel::latinWarning() const
{
    if (m_foreign.isEmpty())
        return {};
    return QStringLiteral("В тексте есть латиница (") + m_foreign.mid(0, 6).join(QString())
           + QStringLiteral("…) — её курс не тренирует");
}

qint64 ManuscriptViewModel::currentIndex() const
{
    const qint64 stored = app() ? app()->store()->data().manuscriptChunk.value_or(0) : 0;
    return std::clamp<qint64>(stored, 0, std::max<qint64>(m_fragments.size() - 1, 0));
}

QString ManuscriptViewModel::summaryText() const
{
    return QStringLiteral("%1 знаков · фрагмент %2 из %3")
        .arg(m_savedLength)
        .arg(currentIndex() + 1)
        .arg(m_fragments.size());
}

QString ManuscriptViewModel::preview() const
{
    if (m_fragments.isEmpty())
        return {};
    const QString &fragment = m_fragments.at(currentIndex());
    return u'«' + fragment.left(Characters::prefixLength(fragment, previewLength))
           + QStringLiteral("…»");
}

QString ManuscriptViewModel::continueText() const
{
    return QStringLiteral("Продолжить с фрагмента %1").arg(currentIndex() + 1);
}

void ManuscriptViewModel::train()
{
    if (!app())
        return;
    // An edit still waiting for the pause counts too.
    if (m_idle.isActive()) {
        m_idle.stop();
        Q_EMIT draftWanted();
    }
    const QString cleaned = Manuscript::normalize(m_draft);
    if (Characters::count(cleaned) < minimumLength)
        return;
    if (m_editing) {
        m_editing = false;
        Q_EMIT editingChanged();
        Q_EMIT faceChanged();
    }
    app()->startNewManuscript(cleaned);
}

void ManuscriptViewModel::cancel()
{
    replaceDraft(m_saved, false);
}

void ManuscriptViewModel::replace()
{
    replaceDraft(m_saved, true);
}

void ManuscriptViewModel::continueTyping()
{
    if (app())
        app()->startManuscript();
}

void ManuscriptViewModel::restart()
{
    if (app())
        app()->startManuscript(0);
}
