#include "native_features.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <cstdio>

namespace atlas {

namespace {

// Lossless and quick: the scenes are flat colours with few smoothed edges.
class WebPAnimation : public Animation {
public:
    WebPAnimation(int width, int height, int frameMilliseconds)
        : width_(width), height_(height), frameMilliseconds_(frameMilliseconds)
    {
        WebPAnimEncoderOptions options;
        WebPAnimEncoderOptionsInit(&options);
        encoder_ = WebPAnimEncoderNew(width, height, &options);
        WebPConfigInit(&config_);
        config_.lossless = 1;
        config_.method = 0;
        config_.quality = 0;
    }
    ~WebPAnimation() override
    {
        if (encoder_ != nullptr) {
            WebPAnimEncoderDelete(encoder_);
        }
    }
    WebPAnimation(const WebPAnimation &) = delete;
    WebPAnimation &operator=(const WebPAnimation &) = delete;

    bool Add(const scene::Frame &frame) override;
    bool Write(const std::string &path) override;

private:
    WebPAnimEncoder *encoder_ = nullptr;
    WebPConfig config_{};
    int width_;
    int height_;
    int frameMilliseconds_;
    int elapsed_ = 0;
};

bool WebPAnimation::Add(const scene::Frame &frame)
{
    if (encoder_ == nullptr || frame.width() != width_ || frame.height() != height_) {
        return false;
    }
    WebPPicture picture;
    if (WebPPictureInit(&picture) == 0) {
        return false;
    }
    picture.use_argb = 1;
    picture.width = frame.width();
    picture.height = frame.height();
    bool added = false;
    if (WebPPictureAlloc(&picture) != 0) {
        for (int y = 0; y < frame.height(); ++y) {
            for (int x = 0; x < frame.width(); ++x) {
                picture.argb[y * picture.argb_stride + x] = 0xFF000000u | frame.At(x, y);
            }
        }
        added = WebPAnimEncoderAdd(encoder_, &picture, elapsed_, &config_) != 0;
        WebPPictureFree(&picture);
    }
    elapsed_ += frameMilliseconds_;
    return added;
}

bool WebPAnimation::Write(const std::string &path)
{
    if (encoder_ == nullptr || WebPAnimEncoderAdd(encoder_, nullptr, elapsed_, nullptr) == 0) {
        return false;
    }
    WebPData data;
    WebPDataInit(&data);
    bool written = false;
    if (WebPAnimEncoderAssemble(encoder_, &data) != 0) {
        std::FILE *file = std::fopen(path.c_str(), "wb");
        if (file != nullptr) {
            written = std::fwrite(data.bytes, 1, data.size, file) == data.size;
            written = std::fclose(file) == 0 && written;
        }
    }
    WebPDataClear(&data);
    return written;
}

} // namespace

bool AnimationAvailable()
{
    return true;
}

std::unique_ptr<Animation> MakeAnimation(int width, int height, int frameMilliseconds)
{
    return std::make_unique<WebPAnimation>(width, height, frameMilliseconds);
}

} // namespace atlas
