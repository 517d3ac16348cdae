// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard_view_model.h"

#include "characters.h"
#include "drill_text.h"
#include "theme.h"
#include "theme_palette.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

QColor withOpacity(QColor color, double opacity)
{
    color.setAlphaF(float(opacity));
    return color;
}

// Heat levels at or below this count as no errors.
constexpr double noErrorLevel = 0.001;
// Above this level the label turns light to stay readable on the dark fill.
constexpr double lightLabelLevel = 0.7;
// Below this level the fill is at most about half the deepest: errors are rare.
constexpr double rareLevel = 0.35;

// The heat level in words, in the steps the eye sees: the plain card, a pale
// fill, a deeper one, and the deepest with its light label.
QString errorWords(std::optional<double> level)
{
    if (!level || *level <= noErrorLevel)
        return QStringLiteral("ошибок не замечено");
    if (*level <= rareLevel)
        return QStringLiteral("ошибки редко");
    if (*level <= lightLabelLevel)
        return QStringLiteral("ошибки иногда");
    return QStringLiteral("ошибки часто");
}

} // namespace

KeyCap::KeyCap(const KeyDef &key, QObject *parent) : QObject(parent), m_key(key) {}

QString KeyCap::label() const
{
    return Characters::upper(m_key.character);
}

QString KeyCap::spokenName() const
{
    return DrillText::keyName(m_key.character);
}

QString KeyCap::shiftLabel() const
{
    const QList<KeyDef> &digits = RussianLayout::digitRow();
    if (m_key.character == digits.first().character || !digits.contains(m_key))
        return {};
    return RussianLayout::shifted(m_key);
}

QColor KeyCap::zoneBarColor() const
{
    return ::zoneBarColor(m_key.finger);
}

void KeyCap::setState(const State &state)
{
    if (state == m_state)
        return;
    m_state = state;
    Q_EMIT changed();
}

void KeyCap::setPickName(const QString &name)
{
    if (name == m_pickName)
        return;
    m_pickName = name;
    Q_EMIT pickNameChanged();
}

KeyboardViewModel::KeyboardViewModel(QObject *parent) : QObject(parent)
{
    QList<QList<KeyDef>> rows = RussianLayout::rows();
    rows.prepend(RussianLayout::digitRow());
    for (const QList<KeyDef> &row : std::as_const(rows)) {
        QList<KeyCap *> caps;
        for (const KeyDef &key : row)
            caps.append(new KeyCap(key, this));
        m_rows.append(caps);
    }
    connect(Theme::instance(), &Theme::paletteChanged, this, [this] {
        refreshAll();
        Q_EMIT paletteChanged();
    });
    refreshAll();
}

namespace {

constexpr double gap = 6;
constexpr double lowRow = 0.72; // the digit row and the Shift row, in key heights

// The training keyboard's rows of characters, top to bottom.
const QList<QList<KeyDef>> &trainingRows()
{
    static const QList<QList<KeyDef>> rows = [] {
        QList<QList<KeyDef>> r = RussianLayout::rows();
        r.prepend(RussianLayout::digitRow());
        return r;
    }();
    return rows;
}

double rowWidth(qsizetype keys, double keySize)
{
    return double(keys) * keySize + double(keys - 1) * gap;
}

double wideRowWidth(double keySize)
{
    return keySize * (1.6 + 6.5 + 1.6) + 2 * gap;
}

} // namespace

QSizeF KeyboardViewModel::trainingSize(double keySize)
{
    double width = wideRowWidth(keySize);
    double height = 0;
    for (qsizetype r = 0; r < trainingRows().size(); ++r) {
        width = std::max(width, rowWidth(trainingRows().at(r).size(), keySize));
        height += (r == 0 ? lowRow : 1.0) * keySize + gap;
    }
    return {width, height + lowRow * keySize};
}

QRectF KeyboardViewModel::keyRect(const QString &character, double keySize)
{
    const double width = trainingSize(keySize).width();
    double y = 0;
    for (qsizetype r = 0; r < trainingRows().size(); ++r) {
        const QList<KeyDef> &row = trainingRows().at(r);
        const double height = (r == 0 ? lowRow : 1.0) * keySize;
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (row.at(i).character == character) {
                const double left = (width - rowWidth(row.size(), keySize)) / 2;
                return {left + double(i) * (keySize + gap), y, keySize, height};
            }
        }
        y += height + gap;
    }
    const double left = (width - wideRowWidth(keySize)) / 2;
    const double height = lowRow * keySize;
    if (character == u"leftShift")
        return {left, y, 1.6 * keySize, height};
    if (character == u" ")
        return {left + 1.6 * keySize + gap, y, 6.5 * keySize, height};
    if (character == u"rightShift")
        return {left + 8.1 * keySize + 2 * gap, y, 1.6 * keySize, height};
    return {};
}

KeyCap *KeyboardViewModel::cap(QStringView character) const
{
    for (const QList<KeyCap *> &row : m_rows) {
        for (KeyCap *cap : row) {
            if (cap->key().character == character)
                return cap;
        }
    }
    return nullptr;
}

void KeyboardViewModel::setTraining(bool training)
{
    if (training == m_training)
        return;
    m_training = training;
    if (const QString next = nextKeyCharacter(); next != m_nextKey) {
        m_nextKey = next;
        Q_EMIT nextCharacterChanged();
    }
    refreshAll();
    Q_EMIT trainingChanged();
}

void KeyboardViewModel::setNext(const NextKey &next)
{
    if (next == m_next)
        return;
    m_next = next;
    const QString before = m_nextKey;
    m_nextKey = nextKeyCharacter();
    if (m_nextKey != before) {
        refreshKey(cap(before));
        refreshKey(cap(m_nextKey));
        Q_EMIT nextCharacterChanged();
    }
    refreshShiftAndSpace();
    Q_EMIT nextChanged();
}

void KeyboardViewModel::setStrike(const KeyStrike &strike)
{
    if (strike == m_strike)
        return;
    m_strike = strike;
    if (m_training && strike.serial > 0) {
        if (RussianLayout::stroke(strike.character).thumbs) {
            Q_EMIT struck(QStringLiteral(" "));
        } else if (const auto key = RussianLayout::key(strike.character); key && cap(key->character)) {
            Q_EMIT struck(key->character);
        }
    }
    Q_EMIT strikeChanged();
}

void KeyboardViewModel::setErrors(const KeyLevels &errors)
{
    if (errors == m_errors)
        return;
    m_errors = errors;
    refreshAll();
    Q_EMIT errorsChanged();
}

void KeyboardViewModel::setPickable(const QStringList &keys)
{
    if (keys == m_pickable)
        return;
    m_pickable = keys;
    for (const QList<KeyCap *> &row : std::as_const(m_rows)) {
        for (KeyCap *cap : row)
            cap->setPickName(keys.contains(cap->character())
                                 ? DrillText::title(AppState::DrillKind::Focus, {cap->character()})
                                                             : QString());
    }
    if (!keys.contains(m_focusKey) || !cap(m_focusKey)) {
        QString first;
        for (qsizetype r = 0; r < m_rows.size() && first.isEmpty(); ++r) {
            if (const qsizetype i = scan(r, 0, 1); i >= 0)
                first = m_rows[r][i]->character();
        }
        if (first != m_focusKey) {
            m_focusKey = first;
            Q_EMIT focusKeyChanged();
        }
    }
    Q_EMIT pickableChanged();
}

void KeyboardViewModel::setFocusKey(const QString &key)
{
    if (key == m_focusKey || !m_pickable.contains(key) || !cap(key))
        return;
    m_focusKey = key;
    Q_EMIT focusKeyChanged();
}

bool KeyboardViewModel::isPickable(qsizetype row, qsizetype i) const
{
    return m_pickable.contains(m_rows[row][i]->character());
}

qsizetype KeyboardViewModel::scan(qsizetype row, qsizetype i, qsizetype step) const
{
    for (; i >= 0 && i < m_rows[row].size(); i += step) {
        if (isPickable(row, i))
            return i;
    }
    return -1;
}

QString KeyboardViewModel::neighbour(Move move) const
{
    qsizetype row = 0;
    qsizetype at = -1;
    for (qsizetype r = 0; r < m_rows.size() && at < 0; ++r) {
        for (qsizetype i = 0; i < m_rows[r].size() && at < 0; ++i) {
            if (m_rows[r][i]->character() == m_focusKey)
                std::tie(row, at) = std::pair(r, i);
        }
    }
    if (at < 0)
        return m_focusKey;
    const auto along = [&](qsizetype i) {
        return i < 0 ? m_focusKey : m_rows[row][i]->character();
    };
    switch (move) {
    case Left: return along(scan(row, at - 1, -1));
    case Right: return along(scan(row, at + 1, 1));
    case Home: return along(scan(row, 0, 1));
    case End: return along(scan(row, m_rows[row].size() - 1, -1));
    case Up:
    case Down: break;
    }
    // The view draws each row centred, of keys of one width: a key's centre
    // in key widths from the middle of its row.
    const auto centre = [this](qsizetype r, qsizetype i) {
        return double(i) - double(m_rows[r].size() - 1) / 2;
    };
    const qsizetype step = move == Down ? 1 : -1;
    for (qsizetype r = row + step; r >= 0 && r < m_rows.size(); r += step) {
        qsizetype best = -1;
        double bestDistance = 0.0;
        for (qsizetype i = 0; i < m_rows[r].size(); ++i) {
            const double distance = std::abs(centre(r, i) - centre(row, at));
            // Halfway between two keys Down takes the right one and Up the
            // left: a real keyboard sets each row a little right of the one
            // above, so these are the keys of the same finger, and Down then
            // Up comes back to the key it left.
            const bool nearer = best < 0 || distance < bestDistance
                                || (distance == bestDistance && move == Down);
            if (isPickable(r, i) && nearer)
                std::tie(best, bestDistance) = std::pair(i, distance);
        }
        if (best >= 0)
            return m_rows[r][best]->character();
    }
    return m_focusKey;
}

bool KeyboardViewModel::moveFocus(int key)
{
    static const QHash<int, Move> moves{{Qt::Key_Left, Left}, {Qt::Key_Right, Right},
                                        {Qt::Key_Up, Up},     {Qt::Key_Down, Down},
                                        {Qt::Key_Home, Home}, {Qt::Key_End, End}};
    const auto move = moves.constFind(key);
    if (move == moves.constEnd())
        return false;
    setFocusKey(neighbour(*move));
    return true;
}

QString KeyboardViewModel::nextKeyCharacter() const
{
    return m_training ? m_next.keyCharacter() : QString();
}

void KeyboardViewModel::refreshKey(KeyCap *cap)
{
    if (!cap)
        return;
    std::optional<double> level;
    if (!m_training) {
        const auto it = m_errors.levels.constFind(cap->character());
        if (it != m_errors.levels.constEnd())
            level = *it;
    }
    const bool isNext = !m_nextKey.isEmpty() && cap->character() == m_nextKey;
    const Theme *theme = Theme::instance();
    cap->setState(stateOf(cap->key(), m_training, isNext, level, theme->palette(), theme->dark()));
}

void KeyboardViewModel::refreshAll()
{
    for (const QList<KeyCap *> &row : std::as_const(m_rows)) {
        for (KeyCap *cap : row)
            refreshKey(cap);
    }
    refreshShiftAndSpace();
}

void KeyboardViewModel::refreshShiftAndSpace()
{
    // "Ё" finds the undrawn "ё" key and still lights a Shift.
    const auto shift = m_training ? m_next.stroke().shiftHand : std::nullopt;
    const bool left = shift == Hand::left;
    const bool right = shift == Hand::right;
    if (left != m_leftShiftLit || right != m_rightShiftLit) {
        m_leftShiftLit = left;
        m_rightShiftLit = right;
        Q_EMIT shiftChanged();
    }
    const bool space = m_training && m_next.stroke().thumbs;
    if (space != m_spaceLit) {
        m_spaceLit = space;
        Q_EMIT spaceLitChanged();
    }
}

KeyCap::State KeyboardViewModel::stateOf(const KeyDef &key, bool training, bool isNext,
                                         std::optional<double> level,
                                         const ThemePalette &palette, bool dark)
{
    // The key's own look does not change when it becomes the next key: the
    // next key's look is laid over it, so the fade between them only blends.
    KeyCap::State s;
    s.next = training && isNext;
    const bool hot = !training && level && *level > noErrorLevel;
    if (training)
        s.fill = zoneTintColor(key.finger, dark);
    else if (hot)
        s.fill = withOpacity(palette.accent, std::min(*level, 1.0) * 0.75 + 0.12);
    else
        s.fill = palette.card;
    const bool lightLabel = !training && level && *level > lightLabelLevel;
    s.labelColor = lightLabel ? palette.onAccent : withOpacity(palette.ink, 0.75);
    s.borderColor = withOpacity(palette.ink, 0.1);
    s.zoneBarShown = training;
    s.homeBumpShown = training && RussianLayout::homeChars().contains(key.character);
    if (!training)
        s.errorWords = errorWords(level);
    return s;
}

QColor KeyboardViewModel::nextFill() const
{
    return Theme::instance()->accent();
}

QColor KeyboardViewModel::nextLabelColor() const
{
    return Theme::instance()->onAccent();
}

QColor KeyboardViewModel::nextBorderColor() const
{
    return Theme::instance()->accentDeep();
}

QColor KeyboardViewModel::bumpColor() const
{
    return withOpacity(Theme::instance()->ink(), 0.35);
}

QColor KeyboardViewModel::frameColor() const
{
    return withOpacity(Theme::instance()->ink(), 0.1);
}
