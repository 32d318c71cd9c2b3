#include "host/plot.h"

#include <cairo.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "host/host_error.h"
#include "host/replacing_file.h"

namespace {

constexpr int kWidth = 1400;
constexpr int kHeight = 720;
constexpr double kLeft = 70.0;
constexpr double kRight = 20.0;
constexpr double kTop = 70.0;
constexpr double kBottom = 40.0;
constexpr double kPanelGap = 30.0;
constexpr int kLabelRows = 3;

struct Area {
    double x;
    double y;
    double width;
    double height;
};

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
    void operator()(cairo_t* cairo) const { cairo_destroy(cairo); }
};

// Smallest of 1, 2, 5, 10, 20, 50, ... seconds that gives at most 16 ticks.
double tickStep(double seconds) {
    double step = 0.1;
    for (int i = 0; seconds / step > 16.0; ++i) {
        step *= (i % 3 == 1) ? 2.5 : 2.0;
    }
    return step;
}

// The highest row whose last label ends before `x`, so labels at one time stack in their order;
// when every row is taken, the one that frees first.
size_t labelRow(const std::array<double, kLabelRows>& rowEnds, double x) {
    const auto free = std::find_if(rowEnds.begin(), rowEnds.end(), [x](double end) { return end <= x; });
    const auto row = free != rowEnds.end() ? free : std::min_element(rowEnds.begin(), rowEnds.end());
    return static_cast<size_t>(row - rowEnds.begin());
}

class Painter {
public:
    Painter(cairo_t* context, double totalSeconds) : cairo(context), seconds(totalSeconds) {}

    double xAt(const Area& area, double time) const {
        return area.x + area.width * (seconds > 0.0 ? time / seconds : 0.0);
    }

    void background() {
        cairo_set_source_rgb(cairo, 1.0, 1.0, 1.0);
        cairo_paint(cairo);
    }

    void panel(const Area& area, const AudioBuffer& audio, const char* title) {
        cairo_set_source_rgb(cairo, 0.96, 0.96, 0.97);
        cairo_rectangle(cairo, area.x, area.y, area.width, area.height);
        cairo_fill(cairo);
        cairo_set_source_rgb(cairo, 0.75, 0.75, 0.78);
        cairo_set_line_width(cairo, 1.0);
        cairo_move_to(cairo, area.x, area.y + area.height / 2.0);
        cairo_line_to(cairo, area.x + area.width, area.y + area.height / 2.0);
        cairo_stroke(cairo);
        envelope(area, audio);
        cairo_set_source_rgb(cairo, 0.1, 0.1, 0.1);
        cairo_set_font_size(cairo, 13.0);
        cairo_move_to(cairo, 8.0, area.y + area.height / 2.0 + 4.0);
        cairo_show_text(cairo, title);
    }

    void timeAxis(const Area& area) {
        const double step = tickStep(seconds);
        cairo_set_source_rgb(cairo, 0.2, 0.2, 0.2);
        cairo_set_font_size(cairo, 11.0);
        cairo_set_line_width(cairo, 1.0);
        for (double time = 0.0; time <= seconds + 1e-9; time += step) {
            const double x = std::round(xAt(area, time)) + 0.5;
            cairo_move_to(cairo, x, area.y + area.height);
            cairo_line_to(cairo, x, area.y + area.height + 5.0);
            cairo_stroke(cairo);
            char text[32];
            std::snprintf(text, sizeof text, "%g s", std::round(time * 1000.0) / 1000.0);
            cairo_move_to(cairo, x - 10.0, area.y + area.height + 18.0);
            cairo_show_text(cairo, text);
        }
    }

    // A dashed line from the labels down through both panels, the name staggered in rows.
    void markers(const std::vector<PlotMarker>& list, double bottom, const Area& axis) {
        std::array<double, kLabelRows> rowEnds{};
        rowEnds.fill(-1.0e9);
        cairo_set_font_size(cairo, 11.0);
        for (const PlotMarker& marker : list) {
            const double x = std::round(xAt(axis, marker.seconds)) + 0.5;
            cairo_text_extents_t extents;
            cairo_text_extents(cairo, marker.label.c_str(), &extents);
            const auto row = labelRow(rowEnds, x);
            rowEnds[row] = x + extents.x_advance + 6.0;
            const double labelY = 18.0 + 15.0 * static_cast<double>(row);
            cairo_set_source_rgba(cairo, 0.8, 0.15, 0.1, 0.8);
            const std::array<double, 2> dash{4.0, 3.0};
            cairo_set_dash(cairo, dash.data(), 2, 0.0);
            cairo_move_to(cairo, x, labelY + 3.0);
            cairo_line_to(cairo, x, bottom);
            cairo_stroke(cairo);
            cairo_set_dash(cairo, nullptr, 0, 0.0);
            cairo_set_source_rgb(cairo, 0.6, 0.1, 0.05);
            cairo_move_to(cairo, x + 2.0, labelY);
            cairo_show_text(cairo, marker.label.c_str());
        }
    }

private:
    // For each pixel column, the lowest and highest sample of any channel in that span of time.
    void envelope(const Area& area, const AudioBuffer& audio) {
        const int64_t frames = audio.frames();
        if (frames == 0 || seconds <= 0.0) {
            return;
        }
        cairo_set_source_rgb(cairo, 0.15, 0.35, 0.65);
        const double framesPerPixel = seconds * audio.sampleRate / area.width;
        const double middle = area.y + area.height / 2.0;
        const double scale = area.height / 2.0;
        for (int column = 0; column < static_cast<int>(area.width); ++column) {
            const auto first = static_cast<int64_t>(column * framesPerPixel);
            const auto last = std::min(frames, static_cast<int64_t>((column + 1) * framesPerPixel) + 1);
            if (first >= frames) {
                break;
            }
            float low = 0.0f;
            float high = 0.0f;
            for (const auto& channel : audio.channels) {
                for (int64_t frame = first; frame < last; ++frame) {
                    const float sample = channel[static_cast<size_t>(frame)];
                    low = std::min(low, sample);
                    high = std::max(high, sample);
                }
            }
            const double top = middle - scale * std::clamp(static_cast<double>(high), -1.0, 1.0);
            const double bottom = middle - scale * std::clamp(static_cast<double>(low), -1.0, 1.0);
            cairo_rectangle(cairo, area.x + column, top, 1.0, std::max(1.0, bottom - top));
        }
        cairo_fill(cairo);
    }

    cairo_t* cairo;
    double seconds;
};

}  // namespace

void plotWaveforms(const std::filesystem::path& path, const AudioBuffer& input,
                   const AudioBuffer& output, const std::vector<PlotMarker>& markers) {
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight));
    std::unique_ptr<cairo_t, ContextDeleter> cairo(cairo_create(surface.get()));
    const double panelHeight = (kHeight - kTop - kBottom - kPanelGap) / 2.0;
    const double width = kWidth - kLeft - kRight;
    const Area inputArea{kLeft, kTop, width, panelHeight};
    const Area outputArea{kLeft, kTop + panelHeight + kPanelGap, width, panelHeight};

    Painter painter(cairo.get(), std::max(input.seconds(), output.seconds()));
    painter.background();
    painter.panel(inputArea, input, "input");
    painter.panel(outputArea, output, "output");
    painter.timeAxis(outputArea);
    painter.markers(markers, outputArea.y + outputArea.height, outputArea);

    ReplacingFile file(path);
    cairo_surface_flush(surface.get());
    const cairo_status_t status =
        cairo_surface_write_to_png(surface.get(), file.temporaryPath().c_str());
    if (status != CAIRO_STATUS_SUCCESS) {
        throw HostError(path, std::string("cannot write the plot: ") +
                                  cairo_status_to_string(status));
    }
    file.commit();
}
