#pragma once
// The product's pictures, shipped as resources.

#include <QIcon>
#include <QPixmap>

QIcon ChatWindowIcon();          // 16, 32, 48 and 64 pixels
QIcon ServiceWindowIcon();       // 32 pixels
QPixmap LoadingPicture();        // 376 x 439
QPixmap OpenInBrowserPicture();  // 13 x 13
