// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "key_levels.h"
#include "next_key.h"
#include "russian_layout.h"

#include <QColor>
#include <QList>
#include <QMap>
#include <QObject>
#include <QQmlEngine>
#include <QQmlListProperty>
#include <QRectF>
#include <QSizeF>

#include <optional>

struct ThemePalette;

// What one letter key of the on-screen keyboard shows. Its fields change
// together (a key becomes or stops being the next one, the heat level or the
// scheme changes), so one signal announces them; only the keys whose look
// actually changed emit it.
class KeyCap : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The keyboard makes its keys.")
    Q_PROPERTY(QString character READ character CONSTANT)
    Q_PROPERTY(QString label READ label CONSTANT)
    // What Shift types on a key of the digit row, printed beside the digit;
    // "" elsewhere.
    Q_PROPERTY(QString shiftLabel READ shiftLabel CONSTANT)
    Q_PROPERTY(QColor zoneBarColor READ zoneBarColor CONSTANT)
    Q_PROPERTY(bool next READ isNext NOTIFY changed)
    Q_PROPERTY(QColor fill READ fill NOTIFY changed)
    Q_PROPERTY(QColor labelColor READ labelColor NOTIFY changed)
    Q_PROPERTY(QColor borderColor READ borderColor NOTIFY changed)
    Q_PROPERTY(bool zoneBarShown READ zoneBarShown NOTIFY changed)
    Q_PROPERTY(bool homeBumpShown READ homeBumpShown NOTIFY changed)
    // The key as a screen reader says it ("ф", "точка"), and on the heat map
    // its error level in words, as its colour shows it ("ошибки часто").
    Q_PROPERTY(QString spokenName READ spokenName CONSTANT)
    Q_PROPERTY(QString errorWords READ errorWords NOTIFY changed)
    // What a click on the key does, as a screen reader says it; empty when
    // the key is not clickable.
    Q_PROPERTY(QString pickName READ pickName NOTIFY pickNameChanged)

public:
    struct State
    {
        // Drawn over the key's own look, in the keyboard's next-key colours.
        bool next = false;
        QColor fill;
        QColor labelColor;
        QColor borderColor;
        bool zoneBarShown = false;
        bool homeBumpShown = false;
        QString errorWords; // "" in training mode

        friend bool operator==(const State &, const State &) = default;
    };

    KeyCap(const KeyDef &key, QObject *parent);

    [[nodiscard]] const KeyDef &key() const { return m_key; }
    [[nodiscard]] QString character() const { return m_key.character; }
    // Key labels are upper case in every mode.
    [[nodiscard]] QString label() const;
    [[nodiscard]] QString shiftLabel() const;
    [[nodiscard]] QColor zoneBarColor() const;
    [[nodiscard]] const State &state() const { return m_state; }
    [[nodiscard]] bool isNext() const { return m_state.next; }
    [[nodiscard]] QColor fill() const { return m_state.fill; }
    [[nodiscard]] QColor labelColor() const { return m_state.labelColor; }
    [[nodiscard]] QColor borderColor() const { return m_state.borderColor; }
    [[nodiscard]] bool zoneBarShown() const { return m_state.zoneBarShown; }
    [[nodiscard]] bool homeBumpShown() const { return m_state.homeBumpShown; }
    [[nodiscard]] QString spokenName() const;
    [[nodiscard]] QString errorWords() const { return m_state.errorWords; }

    // Emits changed() only when the state differs.
    void setState(const State &state);
    [[nodiscard]] QString pickName() const { return m_pickName; }
    void setPickName(const QString &name);

Q_SIGNALS:
    void changed();
    void pickNameChanged();

private:
    KeyDef m_key;
    State m_state;
    QString m_pickName;
};

// The on-screen keyboard. In training mode it marks the key of the next
// character, the Shift of the other hand and the space bar, and flashes the
// key a wrong stroke struck; in heat-map mode it colours each key by its
// error level. A new next character touches only the previous and the new
// next key, so a keystroke redraws two keys at most.
//
// The heat map takes the levels of ProfileStatistics::keyErrorLevels.
class KeyboardViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool training READ training WRITE setTraining NOTIFY trainingChanged)
    Q_PROPERTY(NextKey next READ next WRITE setNext NOTIFY nextChanged)
    // Each new strike flashes the key that typed its character.
    Q_PROPERTY(KeyStrike strike READ strike WRITE setStrike NOTIFY strikeChanged)
    Q_PROPERTY(KeyLevels errors READ errors WRITE setErrors NOTIFY errorsChanged)
    // The keys a click drills (the heat map's); each is named for it.
    Q_PROPERTY(QStringList pickable READ pickable WRITE setPickable NOTIFY pickableChanged)
    // The pickable key that takes the keyboard's focus when the keys are
    // reached by Tab, as one stop: the last one moved to, else the first in
    // reading order; "" when no key is pickable.
    Q_PROPERTY(QString focusKey READ focusKey WRITE setFocusKey NOTIFY focusKeyChanged)
    // The digit row (training mode only) and the letter rows, top to bottom.
    Q_PROPERTY(QQmlListProperty<KeyCap> digitRow READ digitRow CONSTANT)
    Q_PROPERTY(QQmlListProperty<KeyCap> topRow READ topRow CONSTANT)
    Q_PROPERTY(QQmlListProperty<KeyCap> homeRow READ homeRow CONSTANT)
    Q_PROPERTY(QQmlListProperty<KeyCap> bottomRow READ bottomRow CONSTANT)
    Q_PROPERTY(bool leftShiftLit READ leftShiftLit NOTIFY shiftChanged)
    Q_PROPERTY(bool rightShiftLit READ rightShiftLit NOTIFY shiftChanged)
    Q_PROPERTY(bool spaceLit READ spaceLit NOTIFY spaceLitChanged)
    // The character of the key marked as the next one, "" for none.
    Q_PROPERTY(QString nextCharacter READ nextCharacter NOTIFY nextCharacterChanged)
    // The look of the next key, the same for every key: it fades in over the
    // key's own look.
    Q_PROPERTY(QColor nextFill READ nextFill NOTIFY paletteChanged)
    Q_PROPERTY(QColor nextLabelColor READ nextLabelColor NOTIFY paletteChanged)
    Q_PROPERTY(QColor nextBorderColor READ nextBorderColor NOTIFY paletteChanged)
    // Scheme-wide translucent inks: the home bump and the Shift/space border.
    Q_PROPERTY(QColor bumpColor READ bumpColor NOTIFY paletteChanged)
    Q_PROPERTY(QColor frameColor READ frameColor NOTIFY paletteChanged)

public:
    // The keys that move the focus among the pickable keys.
    enum Move { Left, Right, Up, Down, Home, End };
    Q_ENUM(Move)

    explicit KeyboardViewModel(QObject *parent = nullptr);

    [[nodiscard]] bool training() const { return m_training; }
    void setTraining(bool training);
    [[nodiscard]] NextKey next() const { return m_next; }
    void setNext(const NextKey &next);
    [[nodiscard]] KeyStrike strike() const { return m_strike; }
    void setStrike(const KeyStrike &strike);
    [[nodiscard]] KeyLevels errors() const { return m_errors; }
    void setErrors(const KeyLevels &errors);
    [[nodiscard]] QStringList pickable() const { return m_pickable; }
    void setPickable(const QStringList &keys);
    [[nodiscard]] QString focusKey() const { return m_focusKey; }
    // A key that is not pickable leaves the focus where it is.
    void setFocusKey(const QString &key);
    // Where `move` takes the focus: along the row, over the keys that are not
    // pickable, or to the nearest pickable key of the next row up or down that
    // has any; focusKey itself where nothing lies that way.
    [[nodiscard]] QString neighbour(Move move) const;
    // A key pressed on the keys: the arrows, Home and End move focusKey to
    // its neighbour that way. Whether the key was one of those.
    Q_INVOKABLE bool moveFocus(int key);

    [[nodiscard]] QQmlListProperty<KeyCap> digitRow() { return row(0); }
    [[nodiscard]] QQmlListProperty<KeyCap> topRow() { return row(1); }
    [[nodiscard]] QQmlListProperty<KeyCap> homeRow() { return row(2); }
    [[nodiscard]] QQmlListProperty<KeyCap> bottomRow() { return row(3); }
    [[nodiscard]] bool leftShiftLit() const { return m_leftShiftLit; }
    [[nodiscard]] bool rightShiftLit() const { return m_rightShiftLit; }
    [[nodiscard]] bool spaceLit() const { return m_spaceLit; }
    [[nodiscard]] QString nextCharacter() const { return m_nextKey; }
    [[nodiscard]] QColor nextFill() const;
    [[nodiscard]] QColor nextLabelColor() const;
    [[nodiscard]] QColor nextBorderColor() const;
    [[nodiscard]] QColor bumpColor() const;
    [[nodiscard]] QColor frameColor() const;

    // The key carrying `character` (lower case), or null.
    [[nodiscard]] KeyCap *cap(QStringView character) const;
    [[nodiscard]] const QList<QList<KeyCap *>> &rows() const { return m_rows; }

    // Where the training keyboard, for keys `keySize` wide, draws a key (by
    // its character), the left or right Shift ("leftShift", "rightShift") and
    // the space bar (" "): the digit row and the letter rows centred on one
    // another 6 apart, then the Shift and space row. Null for no such key.
    [[nodiscard]] Q_INVOKABLE static QRectF keyRect(const QString &character, double keySize);
    [[nodiscard]] Q_INVOKABLE static QSizeF trainingSize(double keySize);

    // How a key looks; `level` is its heat-map entry, if any.
    [[nodiscard]] static KeyCap::State stateOf(const KeyDef &key, bool training, bool isNext,
                                               std::optional<double> level,
                                               const ThemePalette &palette, bool dark);

Q_SIGNALS:
    void trainingChanged();
    void nextChanged();
    void strikeChanged();
    void errorsChanged();
    void pickableChanged();
    void focusKeyChanged();
    void shiftChanged();
    void spaceLitChanged();
    void paletteChanged();
    void nextCharacterChanged();
    // A wrong stroke struck the key of `character` (" ": the space bar), to flash.
    void struck(const QString &character);

private:
    [[nodiscard]] QQmlListProperty<KeyCap> row(int n) { return {this, &m_rows[n]}; }
    void refreshKey(KeyCap *cap);
    void refreshAll();
    void refreshShiftAndSpace();
    [[nodiscard]] QString nextKeyCharacter() const;
    [[nodiscard]] bool isPickable(qsizetype row, qsizetype i) const;
    // The first pickable key of `row` from `i` on, by steps of `step`; -1 for none.
    [[nodiscard]] qsizetype scan(qsizetype row, qsizetype i, qsizetype step) const;

    bool m_training = true;
    NextKey m_next;
    KeyStrike m_strike;
    KeyLevels m_errors;
    QStringList m_pickable;
    QString m_focusKey;
    QList<QList<KeyCap *>> m_rows; // the digit row, then the letter rows
    QString m_nextKey; // the character of the marked key, "" for none
    bool m_leftShiftLit = false;
    bool m_rightShiftLit = false;
    bool m_spaceLit = false;
};
