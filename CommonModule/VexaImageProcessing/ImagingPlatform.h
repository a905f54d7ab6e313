#pragma once
// Start of the imaging platform (QtGui), once per process and from whichever thread needs it
// first. Decoding, drawing and encoding pictures need no application object; text does.

// Raises the decoder's allocation limit to what the library accepts. Cheap after the first call.
void StartImagingPlatform();

// Makes sure a QGuiApplication exists, creating one on the offscreen platform when the host has
// no Qt application. False when the host runs a plain QCoreApplication, where text cannot work.
bool StartTextPlatform();

// The largest picture the library decodes or makes: 1 GiB of 32-bit pixels.
constexpr long long kMaxPictureBytes = 1LL << 30;
bool PictureSizeAllowed(long long width, long long height);
