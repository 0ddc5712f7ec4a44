#pragma once
// The simulation on paper: the replay is drawn for the page at no more than 300 dots an
// inch, whatever the printer's resolution, turned into black and white dots that follow
// each pixel's brightness, and laid on the page at the size the page fits.
#include <QImage>
#include <QRect>
#include <QSize>

// How a replay is drawn for a page of `page` printer pixels at `printerDpi`: the area its
// picture is fitted into, and the printer pixels one pixel of that picture takes (1 or
// more).
struct PrintScale {
    QSize area;
    double printerPixelsPerPixel = 1;
};
PrintScale ScaleForPrinting(QSize page, int printerDpi);

// The picture in black and white: pixels of the background colour white, every other
// pixel's brightness (0.299 red + 0.587 green + 0.114 blue) spread over black and white
// dots by error diffusion, so that every part of the picture keeps its mean brightness.
// A one-bit picture of the same size, colour 0 black and 1 white.
QImage DitheredForPrinting(const QImage& picture, QRgb background);

// Where a picture of `picture` pixels goes on a page of `page` printer pixels: centred, at
// its size times the printer pixels per pixel, within the page.
QRect PlaceOnPage(QSize picture, double printerPixelsPerPixel, QSize page);
