// The program's pictures, all drawn here in code at their design pixel sizes.
#pragma once

#include <QCursor>
#include <QImage>
#include <QString>

namespace kelvo::shell::pictures {

// Numbers of the pictures the viewer shows.
enum class Reference { Power = 101, Breakers = 102, WireCurrents = 103, Help = 104 };

QImage TitleStrip();                          // 54 × 24, stretched across the window
QImage TitlePicture(const QString& title);    // 873 × 24
QImage CloseButton();                         // 21 × 21
QImage MinimiseButton();                      // 21 × 21
QImage Banner();                              // 760 × 100
QImage OrderingPicture();                     // 266 × 117
QImage Globe();                               // 43 × 39
QCursor LinkPointer();                        // the pointer over menu labels and links
QImage ReferencePicture(Reference which);     // 101–103 tables, 104 help page

// Where the links are drawn in the pictures (pixels, in the picture's own coordinates), so that
// the viewer's link areas lie over them.
QRect TableSiteLinkArea();
QRect HelpMailLinkArea();
QRect HelpSiteLinkArea();

}  // namespace kelvo::shell::pictures
