// The pieces of a window's colour legend: a small box filled with a colour and a caption
// written in it.
//
// Threading: GUI thread only.
#pragma once

#include <QColor>
#include <QString>

class QLabel;
class QWidget;

namespace lindrel::demo {

// `colour` is one of the standard colours of Palette.h; both are painted as palette::Shown
// gives it, and RecolourLegend paints them anew when the application palette changes.
QLabel* LegendSwatch(const QColor& colour, QWidget* parent);
// A caption in `colour`, with the object name `name`.
QLabel* LegendCaption(const QString& text, const QColor& colour, const char* name, QWidget* parent);
// Paints the swatches and captions of `legend` for the application palette now.
void RecolourLegend(QWidget& legend);

}  // namespace lindrel::demo
