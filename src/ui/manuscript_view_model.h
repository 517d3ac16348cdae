// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_state.h"
#include "app_view_model.h"

#include <QObject>
#include <QQmlEngine>
#include <QStringList>
#include <QTimer>

// The manuscript tab: the editor for the user's own text with its counter and
// Latin warning, and the summary of the stored text. The draft and whether a
// stored text is being replaced belong to the screen and start afresh with it.
class ManuscriptViewModel : public AppViewModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString draft READ draft WRITE setDraft NOTIFY draftChanged)
    Q_PROPERTY(bool editing READ editing NOTIFY editingChanged)
    Q_PROPERTY(bool summaryShown READ summaryShown NOTIFY faceChanged)
    Q_PROPERTY(bool cancelShown READ cancelShown NOTIFY savedChanged)
    Q_PROPERTY(QString counterText READ counterText NOTIFY draftChanged)
    // Empty when the cleaned draft has no Latin letters.
    Q_PROPERTY(QString latinWarning READ latinWarning NOTIFY draftChanged)
    Q_PROPERTY(bool canTrain READ canTrain NOTIFY draftChanged)
    Q_PROPERTY(QString summaryText READ summaryText NOTIFY savedChanged)
    Q_PROPERTY(QString preview READ preview NOTIFY savedChanged)
    Q_PROPERTY(QString continueText READ continueText NOTIFY savedChanged)

public:
    // A text must hold this many characters after cleaning to be typed.
    static constexpr qsizetype minimumLength = 40;
    // The preview shows this many characters of the current fragment.
    static constexpr qsizetype previewLength = 160;
    // Drafts longer than this (UTF-16 units) are recounted after a pause in
    // typing, not on every keystroke.
    static constexpr int largeDraft = 20000;
    static constexpr int idleMs = 150;

    explicit ManuscriptViewModel(QObject *parent = nullptr);

    [[nodiscard]] QString draft() const { return m_draft; }
    // Replaces the draft and recounts at once.
    void setDraft(const QString &draft);
    [[nodiscard]] bool editing() const { return m_editing; }
    [[nodiscard]] bool summaryShown() const { return !m_fragments.isEmpty() && !m_editing; }
    [[nodiscard]] bool cancelShown() const { return !m_saved.isEmpty(); }
    [[nodiscard]] QString counterText() const;
    [[nodiscard]] QString latinWarning() const;
    [[nodiscard]] bool canTrain() const { return m_cleanedLength >= minimumLength; }
    [[nodiscard]] QString summaryText() const;
    [[nodiscard]] QString preview() const;
    [[nodiscard]] QString continueText() const;
    // The stored fragment index, held to the fragments (0 without any).
    [[nodiscard]] qint64 currentIndex() const;
    // Whether an edit is waiting for the pause before it is counted.
    [[nodiscard]] bool recountPending() const { return m_idle.isActive(); }

    // The editor's text changed and is now `length` UTF-16 units long; the
    // model asks for it with draftWanted(), after a pause for a long text.
    Q_INVOKABLE void edited(int length);
    // Stores the cleaned draft and types its first fragment.
    Q_INVOKABLE void train();
    // Back to the summary with the stored text untouched.
    Q_INVOKABLE void cancel();
    // The editor with the stored text in it.
    Q_INVOKABLE void replace();
    // Typing from the stored fragment, or from the first.
    Q_INVOKABLE void continueTyping();
    Q_INVOKABLE void restart();

Q_SIGNALS:
    void draftChanged();
    // The screen itself put a new text in the draft; the editor shows it.
    void draftReplaced();
    // The editor's text is wanted as the new draft.
    void draftWanted();
    void editingChanged();
    void faceChanged();
    void savedChanged();

private:
    void refresh() override;
    void refreshSaved();
    void recount();
    void replaceDraft(const QString &text, bool editing);

    QTimer m_idle;
    QString m_draft;
    bool m_editing = false;
    // What the draft makes once cleaned.
    qsizetype m_cleanedLength = 0;
    qsizetype m_cleanedFragments = 0;
    QStringList m_foreign;
    // The stored text and its fragments.
    QString m_saved;
    qsizetype m_savedLength = 0;
    QStringList m_fragments;
};
