// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/figure.h"
#include "geometry/surface.h"

#include <QWidget>

class QTabWidget;
class CCubesLibrary;
class CCubeConstructor;
class CPaletteStrip;

// The contents of the cube selection bar: a tab control with the pages "Cubes" (the
// cubes library) and "Constructor" (the cube constructor), both pickers lying on the
// same rectangle so that only the one of the selected tab shows. Keeps the kind last
// picked in either picker and shows it in the other one too.
class CCubeSelectionPage : public QWidget
{
    Q_OBJECT

public:
    explicit CCubeSelectionPage(QWidget *parent = nullptr);
    ~CCubeSelectionPage() override;

    // Inserts the tabs and lays the page out around the library; the page's size
    // follows from the library's (149 pixels wide with the default cube pictures).
    void InitPage();

    // The kind the next click on the workspace places: 0..63, or EmptyCubeIndex (64)
    // for the empty cube that erases.
    int CurrentCube() const { return m_currentCube; }
    // The colouring picked in the palette strip, which new cubes are painted in.
    int CurrentPaint() const;
    // The value the next click places: the kind in the picked colouring, or the eraser.
    qint32 CurrentValue() const;
    void SetCurrentPaint(int index);

    // The face colours (top, right, left) of colouring 0; the pickers show them while
    // it is the picked one.
    void SetCubeColors(ColorRef color1, ColorRef color2, ColorRef color3);
    // Every colouring of the figure, 0 first: the strip shows them, the pickers show
    // their cubes in the picked one.
    void SetPalette(const QVector<CColouring> &colourings);

    QTabWidget *Tabs() const { return m_tabs; }
    CCubesLibrary *Library() const { return m_library; }
    CCubeConstructor *Constructor() const { return m_constructor; }
    CPaletteStrip *Strip() const { return m_strip; }

Q_SIGNALS:
    // The current cube kind changed through a pick in either picker.
    void CurrentCubeChanged(int kind);
    // The palette strip asks for a changed or a new colouring.
    void ColouringEdited(int index, const CColouring &colouring);
    void ColouringAdded(const CColouring &colouring);

private:
    void FitTabHeaders(int width);
    void OnTabChanged();
    void OnLibraryPicked(int kind);
    void OnConstructorPicked(int kind);
    void SetCurrentCube(int kind);
    // The pickers show their cubes in the picked colouring.
    void ShowPickedColouring();

    int m_currentCube = 0;
    QTabWidget *m_tabs = nullptr;
    CCubesLibrary *m_library = nullptr;
    CCubeConstructor *m_constructor = nullptr;
    CPaletteStrip *m_strip = nullptr;
};
