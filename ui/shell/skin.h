// Geometry in twips and the colours and fonts of the program's skin.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

class QLabel;
class QPainter;
class QString;
class QWidget;

namespace kelvo::shell {

// Twips per screen pixel (15 on a 96-dpi screen), from the primary screen's logical dpi.
int TwipsPerPixelX();
int TwipsPerPixelY();

int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);

// Places a widget by its design place in twips, relative to its parent.
void PlaceTwips(QWidget* widget, double left, double top, double width, double height);
void MoveTwips(QWidget* widget, double left, double top);
// A caption of the small windows (the checks beside the main window): one line in the interface
// font, placed in twips.
QLabel* TwipsCaption(QWidget* parent, const QString& text, double left, double top, double width);
// The widget's geometry read back in twips.
QRect GeometryTwips(const QWidget* widget);

namespace colors {
inline const QColor kBackground{240, 220, 160};
inline const QColor kMenuBar{210, 187, 126};
inline const QColor kMenuOpened{185, 165, 111};
inline const QColor kPanelOpened{219, 221, 142};
inline const QColor kMenuStripe{213, 197, 139};
inline const QColor kMenuLine{160, 160, 160};
inline const QColor kBorderOuter{0, 0, 128};
inline const QColor kBorderInner{0, 0, 255};
inline const QColor kRaisedInput{192, 255, 255};
inline const QColor kRed{255, 0, 0};
inline const QColor kBlue{0, 0, 255};
}  // namespace colors

// The sans-serif face of captions and boxes at a point size (8,25 by default), drawn at the
// nearest whole pixel size of the screen.
QFont UiFont(double points = 8.25, bool bold = false);

// The one-pixel outline a pen would draw around the rectangle (its right and bottom lines one
// pixel beyond it), filled as four thin rectangles: much quicker than stroking it.
void FillOutline(QPainter& p, const QRect& r, const QColor& color);

// Fills a widget's background with a solid colour, which becomes its own unless the widget
// already shows it.
void SetBackground(QWidget* widget, const QColor& color);

// The colour of a control's text (captions, box texts and button captions alike).
void SetTextColor(QWidget* widget, const QColor& color);
// The colour of a box's writing area.
void SetBaseColor(QWidget* widget, const QColor& color);

}  // namespace kelvo::shell
