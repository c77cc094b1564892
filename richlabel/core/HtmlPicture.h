// An image handed to the renderer by the image callbacks; only its size matters to layout.
#pragma once

class THTMLPicture {
  public:
    virtual ~THTMLPicture() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};
