#pragma once

#include <QImage>
#include <string>

namespace cw {

// A picture as the bytes of a GIF file (giflib). A picture of up to 256 colours keeps them
// exactly; one of more gets a palette of 256 made by giflib's median cut, in which each
// entry takes the most frequent of the colours it stands for, so that the card's own red,
// blue and black come out as they are and only the smoothed edges of text move. Throws
// RuntimeError when the picture cannot be encoded.
std::string EncodeGif(const QImage& picture);

} // namespace cw
