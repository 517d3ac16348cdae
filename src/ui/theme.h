// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profile_data.h"
#include "theme_palette.h"

#include <QColor>
#include <QObject>
#include <QQmlEngine>

class SystemColorScheme;

// The palette of the current colour scheme, for every screen. The scheme is
// forced light or dark by the user's choice, or follows the desktop.
class Theme : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool dark READ dark NOTIFY paletteChanged)
    Q_PROPERTY(QColor desk READ desk NOTIFY paletteChanged)
    Q_PROPERTY(QColor paper READ paper NOTIFY paletteChanged)
    Q_PROPERTY(QColor bar READ bar NOTIFY paletteChanged)
    Q_PROPERTY(QColor card READ card NOTIFY paletteChanged)
    Q_PROPERTY(QColor ink READ ink NOTIFY paletteChanged)
    Q_PROPERTY(QColor inkSoft READ inkSoft NOTIFY paletteChanged)
    Q_PROPERTY(QColor inkFaint READ inkFaint NOTIFY paletteChanged)
    Q_PROPERTY(QColor hairline READ hairline NOTIFY paletteChanged)
    Q_PROPERTY(QColor accent READ accent NOTIFY paletteChanged)
    Q_PROPERTY(QColor accentDeep READ accentDeep NOTIFY paletteChanged)
    Q_PROPERTY(QColor error READ error NOTIFY paletteChanged)
    Q_PROPERTY(QColor keyBase READ keyBase NOTIFY paletteChanged)
    Q_PROPERTY(QColor ghost READ ghost NOTIFY paletteChanged)
    Q_PROPERTY(QColor onAccent READ onAccent NOTIFY paletteChanged)
    Q_PROPERTY(QColor thumbSoft READ thumbSoft NOTIFY paletteChanged)
    Q_PROPERTY(QColor thumbAccent READ thumbAccent NOTIFY paletteChanged)
    // Ink and accent laid translucently over the background.
    Q_PROPERTY(QColor inkWash READ inkWash NOTIFY paletteChanged) // the tab strip under the tabs
    Q_PROPERTY(QColor inkShade READ inkShade NOTIFY paletteChanged) // the badge's key shadows
    Q_PROPERTY(QColor inkFrame READ inkFrame NOTIFY paletteChanged) // thin frames and the progress track
    Q_PROPERTY(QColor inkShadow READ inkShadow NOTIFY paletteChanged) // the current tab's shadow
    Q_PROPERTY(QColor inkDisabled READ inkDisabled NOTIFY paletteChanged) // a disabled button
    Q_PROPERTY(QColor inkScroll READ inkScroll NOTIFY paletteChanged) // the scroll indicator
    Q_PROPERTY(QColor inkScrim READ inkScrim NOTIFY paletteChanged) // the shade behind a modal card
    Q_PROPERTY(QColor inkLabel READ inkLabel NOTIFY paletteChanged) // the badge's letters
    Q_PROPERTY(QColor inkOutline READ inkOutline NOTIFY paletteChanged) // the hands' outline
    Q_PROPERTY(QColor accentWash READ accentWash NOTIFY paletteChanged) // the area under the speed curve
    Q_PROPERTY(QColor accentHalf READ accentHalf NOTIFY paletteChanged) // the heat legend's middle
    // A finished stage's disc and its tick: fixed colours, the same in both schemes.
    Q_PROPERTY(QColor done READ done CONSTANT)
    Q_PROPERTY(QColor onDone READ onDone CONSTANT)
    // The type scale, in pixels: every text of the interface takes one of these.
    Q_PROPERTY(int typeTiny MEMBER m_typeTiny CONSTANT) // legends
    Q_PROPERTY(int typeSmall MEMBER m_typeSmall CONSTANT) // tooltips, tile labels and notes
    Q_PROPERTY(int typeBody MEMBER m_typeBody CONSTANT) // captions, units, the header
    Q_PROPERTY(int typeNote MEMBER m_typeNote CONSTANT) // hints, menu items, secondary lines
    Q_PROPERTY(int typeButton MEMBER m_typeButton CONSTANT) // buttons, the editor
    Q_PROPERTY(int typeReading MEMBER m_typeReading CONSTANT) // stage titles, the preview
    Q_PROPERTY(int typeBadge MEMBER m_typeBadge CONSTANT) // the badge's letters
    Q_PROPERTY(int typeFigure MEMBER m_typeFigure CONSTANT) // running figures
    Q_PROPERTY(int typeLine MEMBER m_typeLine CONSTANT) // the exercise text, tile values
    Q_PROPERTY(int typeHeading MEMBER m_typeHeading CONSTANT) // screen headings, result figures
    Q_PROPERTY(int typeTitle MEMBER m_typeTitle CONSTANT) // result and summary titles
    Q_PROPERTY(int typeDisplay MEMBER m_typeDisplay CONSTANT) // the name on the course screen
    Q_PROPERTY(QString monoFamily READ monoFamily CONSTANT)
    Q_PROPERTY(QString serifFamily READ serifFamily CONSTANT)
    Q_PROPERTY(QString uiFamily READ uiFamily CONSTANT)

public:
    ~Theme() override;

    // The one instance shared by QML and C++.
    [[nodiscard]] static Theme *instance();
    static Theme *create(QQmlEngine *, QJSEngine *);

    [[nodiscard]] bool dark() const { return m_dark; }
    [[nodiscard]] const ThemePalette &palette() const;

    // Forces a scheme; system (or none) follows the desktop.
    void setAppearance(std::optional<Appearance> appearance);
    // What the desktop prefers; a platform service tells.
    void setSystemDark(bool dark);

    // Finger zone colours (finger as its raw value, pinky 0 … index 3).
    Q_INVOKABLE [[nodiscard]] QColor zoneBar(int finger) const;
    Q_INVOKABLE [[nodiscard]] QColor zoneTint(int finger) const;

    [[nodiscard]] QColor desk() const { return palette().desk; }
    [[nodiscard]] QColor paper() const { return palette().paper; }
    [[nodiscard]] QColor bar() const { return palette().bar; }
    [[nodiscard]] QColor card() const { return palette().card; }
    [[nodiscard]] QColor ink() const { return palette().ink; }
    [[nodiscard]] QColor inkSoft() const { return palette().inkSoft; }
    [[nodiscard]] QColor inkFaint() const { return palette().inkFaint; }
    [[nodiscard]] QColor hairline() const { return palette().hairline; }
    [[nodiscard]] QColor accent() const { return palette().accent; }
    [[nodiscard]] QColor accentDeep() const { return palette().accentDeep; }
    [[nodiscard]] QColor error() const { return palette().error; }
    [[nodiscard]] QColor keyBase() const { return palette().keyBase; }
    [[nodiscard]] QColor ghost() const { return palette().ghost; }
    [[nodiscard]] QColor onAccent() const { return palette().onAccent; }
    [[nodiscard]] QColor thumbSoft() const { return palette().thumbSoft; }
    [[nodiscard]] QColor thumbAccent() const { return palette().thumbAccent; }
    [[nodiscard]] QColor inkWash() const { return inkAt(0.06); }
    [[nodiscard]] QColor inkShade() const { return inkAt(0.08); }
    [[nodiscard]] QColor inkFrame() const { return inkAt(0.1); }
    [[nodiscard]] QColor inkShadow() const { return inkAt(0.12); }
    [[nodiscard]] QColor inkDisabled() const { return inkAt(0.15); }
    [[nodiscard]] QColor inkScroll() const { return inkAt(0.25); }
    [[nodiscard]] QColor inkScrim() const { return inkAt(0.3); }
    [[nodiscard]] QColor inkLabel() const { return inkAt(0.85); }
    [[nodiscard]] QColor inkOutline() const { return inkAt(0.88); }
    [[nodiscard]] QColor accentWash() const { return accentAt(0.1); }
    [[nodiscard]] QColor accentHalf() const { return accentAt(0.5); }
    [[nodiscard]] static QColor done() { return QColor(91, 115, 80); }
    [[nodiscard]] static QColor onDone() { return QColor(245, 242, 236); }
    [[nodiscard]] QString monoFamily() const;
    [[nodiscard]] QString serifFamily() const;
    [[nodiscard]] QString uiFamily() const;

Q_SIGNALS:
    void paletteChanged();

private:
    // Not default-constructible from outside, so QML takes the shared
    // instance from create() instead of making its own.
    explicit Theme(QObject *parent);
    void update();
    [[nodiscard]] QColor inkAt(double opacity) const;
    [[nodiscard]] QColor accentAt(double opacity) const;

    int m_typeTiny = 10;
    int m_typeSmall = 11;
    int m_typeBody = 12;
    int m_typeNote = 13;
    int m_typeButton = 14;
    int m_typeReading = 15;
    int m_typeBadge = 19;
    int m_typeFigure = 22;
    int m_typeLine = 24;
    int m_typeHeading = 30;
    int m_typeTitle = 34;
    int m_typeDisplay = 40;
    std::optional<Appearance> m_appearance;
    bool m_systemDark = false;
    bool m_dark = false;
};
