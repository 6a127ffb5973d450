#pragma once

#include <cstdint>

namespace cw {

// The zoomed view of the card: its scale, the zoom step count and the zoomed size. The scale
// follows the format (its own scale and the zoom saved with it) until the user zooms.
class ViewState {
public:
    // A view at scale of a card of natural size (twips): a picture's, whatever the screen's.
    static ViewState AtScale(float scale, double naturalWidth, double naturalHeight) {
        ViewState view;
        view.viewScale_ = scale;
        view.SizeFor(naturalWidth, naturalHeight);
        return view;
    }
    // A view of a given zoomed size at scale.
    static ViewState Sized(float scale, float zoomedWidth, float zoomedHeight) {
        ViewState view;
        view.viewScale_ = scale;
        view.zoomedWidth_ = zoomedWidth;
        view.zoomedHeight_ = zoomedHeight;
        return view;
    }

    float ViewScale() const { return viewScale_; }
    // Zoom steps taken from the format's scale.
    float ZoomFactor() const { return zoomFactor_; }
    bool ZoomSetByUser() const { return zoomSetByUser_; }
    // ViewScale times the card's natural width and height, in screen twips.
    float ZoomedWidth() const { return zoomedWidth_; }
    float ZoomedHeight() const { return zoomedHeight_; }

    // A scale the user chose: the format no longer sets it.
    void SetUserScale(float scale) {
        viewScale_ = scale;
        zoomSetByUser_ = true;
    }
    // One zoom step taken by the user to scale, with the card's zoomed size at it.
    void StepTo(float scale, bool in, float zoomedWidth, float zoomedHeight) {
        SetUserScale(scale);
        zoomFactor_ += in ? 1.0f : -1.0f;
        zoomedWidth_ = zoomedWidth;
        zoomedHeight_ = zoomedHeight;
    }
    // The format sets the scale again from now on.
    void LetFormatSetZoom() { zoomSetByUser_ = false; }
    // After an error the next card shown falls back to the format's default zoom.
    void ResetZoom() {
        zoomFactor_ = 0.0f;
        zoomSetByUser_ = false;
    }
    // The format's scale, stepped by the zoom saved with the format, unless the user zoomed.
    void FollowFormat(float formatScale, int16_t savedZoom) {
        if (zoomSetByUser_)
            return;
        viewScale_ = formatScale;
        if (savedZoom != 0) {
            viewScale_ = formatScale + float(savedZoom) * 0.2f;
            zoomFactor_ = savedZoom;
        }
    }
    // The zoomed size of a card of natural size at the scale in force.
    void SizeFor(double naturalWidth, double naturalHeight) {
        zoomedWidth_ = float(naturalWidth) * viewScale_;
        zoomedHeight_ = float(naturalHeight) * viewScale_;
    }

private:
    float viewScale_ = 1.0f;
    float zoomFactor_ = 0.0f;
    bool zoomSetByUser_ = false;
    float zoomedWidth_ = 0.0f;
    float zoomedHeight_ = 0.0f;
};

} // namespace cw
