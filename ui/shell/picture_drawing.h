// The drawings of the pictures that also come ready-made (see prebuilt_pictures.cpp), for the
// store of ready-made pictures and for the tool that makes them at build time.
#pragma once

#include <QImage>
#include <QString>

namespace kelvo::shell::pictures {

QImage DrawTitlePicture(const QString& title, qreal ratio);
QImage DrawBanner(qreal ratio);
QImage DrawOrderingPicture(qreal ratio);
QImage DrawGlobe(qreal ratio);
QImage DrawLinkPointer(qreal ratio);

}  // namespace kelvo::shell::pictures
