#include "icon_art.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace nimbrel::tools {
namespace {

struct Rgb {
    double r, g, b;
};
struct Point {
    double x, y;
};
struct Rgba {
    std::uint8_t r, g, b, a;
};

// The artwork, drawn on a 48-unit square.
constexpr std::array<Point, 4> kTop = {{{9, 12}, {39, 12}, {45, 29}, {3, 29}}};
constexpr std::array<Point, 4> kFront = {{{3, 29}, {45, 29}, {45, 36}, {3, 36}}};
constexpr Point kPlatter = {23, 20};
constexpr Point kPlatterRadii = {12, 6};
constexpr Point kHubRadii = {2.6, 1.4};
constexpr Point kArmFrom = {38, 25};
constexpr Point kArmTo = {27, 19};
constexpr std::array<Point, 2> kLed = {{{37, 31}, {41, 33.5}}};

constexpr Rgb kOutline = {58, 58, 64};
constexpr Rgb kTopBack = {232, 232, 236};
constexpr Rgb kTopFront = {178, 180, 186};
constexpr Rgb kFrontTop = {140, 142, 148};
constexpr Rgb kFrontBottom = {98, 98, 104};
constexpr Rgb kPlatterFill = {208, 210, 218};
constexpr Rgb kPlatterEdge = {118, 120, 130};
constexpr Rgb kHub = {146, 148, 156};
constexpr Rgb kArm = {96, 96, 106};
constexpr Rgb kLedGreen = {36, 196, 64};

Rgb Mix(const Rgb& a, const Rgb& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double Cross(Point o, Point a, Point b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool InConvex(const std::array<Point, 4>& quad, Point p) {
    for (std::size_t i = 0; i < quad.size(); ++i) {
        if (Cross(quad[i], quad[(i + 1) % quad.size()], p) < 0) return false;
    }
    return true;
}

double SegmentDistance(Point a, Point b, Point p) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double t =
        std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

double EdgeDistance(const std::array<Point, 4>& quad, Point p) {
    double nearest = 1e9;
    for (std::size_t i = 0; i < quad.size(); ++i)
        nearest = std::min(nearest, SegmentDistance(quad[i], quad[(i + 1) % quad.size()], p));
    return nearest;
}

double EllipseValue(Point centre, Point radii, Point p) {
    const double u = (p.x - centre.x) / radii.x, v = (p.y - centre.y) / radii.y;
    return u * u + v * v;
}

// The colour at one point of the artwork, or nothing where it is transparent.
// Lines are kept about one pixel wide at every size.
std::optional<Rgb> Paint(Point p, double line) {
    const bool top = InConvex(kTop, p);
    const bool front = InConvex(kFront, p);
    if (!top && !front) return std::nullopt;
    if (EdgeDistance(kTop, p) < line || EdgeDistance(kFront, p) < line) return kOutline;
    if (front) {
        if (p.x >= kLed[0].x && p.x <= kLed[1].x && p.y >= kLed[0].y && p.y <= kLed[1].y)
            return kLedGreen;
        return Mix(kFrontTop, kFrontBottom, (p.y - kFront[0].y) / (kFront[2].y - kFront[0].y));
    }
    if (SegmentDistance(kArmFrom, kArmTo, p) < line * 1.2) return kArm;
    if (EllipseValue(kPlatter, kHubRadii, p) <= 1) return kHub;
    const double platter = EllipseValue(kPlatter, kPlatterRadii, p);
    const double rim = 1 - line / kPlatterRadii.y;
    if (platter <= 1 && platter >= rim * rim) return kPlatterEdge;
    if (platter < 1) return kPlatterFill;
    return Mix(kTopBack, kTopFront, (p.y - kTop[0].y) / (kTop[2].y - kTop[0].y));
}

// Renders at `size` pixels with 4x4 samples per pixel.
std::vector<Rgba> Render(int size) {
    constexpr int kSamples = 4;
    const double unit = 48.0 / size;
    const double line = std::max(0.9, unit * 0.9);
    std::vector<Rgba> pixels(static_cast<std::size_t>(size) * size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            Rgb sum = {0, 0, 0};
            int covered = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const Point p = {(x + (sx + 0.5) / kSamples) * unit,
                                     (y + (sy + 0.5) / kSamples) * unit};
                    if (const auto colour = Paint(p, line)) {
                        sum = {sum.r + colour->r, sum.g + colour->g, sum.b + colour->b};
                        ++covered;
                    }
                }
            }
            Rgba& out = pixels[static_cast<std::size_t>(y) * size + x];
            if (covered == 0) continue;
            out = {static_cast<std::uint8_t>(std::lround(sum.r / covered)),
                   static_cast<std::uint8_t>(std::lround(sum.g / covered)),
                   static_cast<std::uint8_t>(std::lround(sum.b / covered)),
                   static_cast<std::uint8_t>(std::lround(255.0 * covered / (kSamples * kSamples)))};
        }
    }
    return pixels;
}

using Palette = std::vector<Rgba>;

Palette VgaPalette() {
    return {{0, 0, 0, 0},       {128, 0, 0, 0},   {0, 128, 0, 0},   {128, 128, 0, 0},
            {0, 0, 128, 0},     {128, 0, 128, 0}, {0, 128, 128, 0}, {192, 192, 192, 0},
            {128, 128, 128, 0}, {255, 0, 0, 0},   {0, 255, 0, 0},   {255, 255, 0, 0},
            {0, 0, 255, 0},     {255, 0, 255, 0}, {0, 255, 255, 0}, {255, 255, 255, 0}};
}

// A 6x6x6 colour cube and a 40-step grey ramp, which suits a silver drawing.
Palette CubeAndGreys() {
    Palette palette;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette.push_back({static_cast<std::uint8_t>(r * 51),
                                   static_cast<std::uint8_t>(g * 51),
                                   static_cast<std::uint8_t>(b * 51), 0});
    for (int i = 0; i < 40; ++i) {
        const auto grey = static_cast<std::uint8_t>(std::lround(8 + i * 6.1));
        palette.push_back({grey, grey, grey, 0});
    }
    return palette;
}

std::uint8_t Nearest(const Palette& palette, Rgba colour) {
    std::size_t best = 0;
    int best_distance = 1 << 30;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const int dr = palette[i].r - colour.r, dg = palette[i].g - colour.g,
                  db = palette[i].b - colour.b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < best_distance) {
            best_distance = distance;
            best = i;
        }
    }
    return static_cast<std::uint8_t>(best);
}

void Put16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, unsigned value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

int RowBytes(int size, int bpp) { return (size * bpp + 31) / 32 * 4; }

// One image as stored in an .ico: header, palette, colour rows, mask rows,
// both bottom-up.
std::vector<std::uint8_t> EncodeImage(const std::vector<Rgba>& pixels, int size, int bpp) {
    const Palette palette = bpp == 4 ? VgaPalette() : bpp == 8 ? CubeAndGreys() : Palette{};
    const int colour_row = RowBytes(size, bpp), mask_row = RowBytes(size, 1);
    std::vector<std::uint8_t> out;
    Put32(out, 40);
    Put32(out, size);
    Put32(out, size * 2);
    Put16(out, 1);
    Put16(out, bpp);
    Put32(out, 0);
    Put32(out, (colour_row + mask_row) * size);
    for (int i = 0; i < 4; ++i) Put32(out, 0);
    for (const Rgba& entry : palette) out.insert(out.end(), {entry.b, entry.g, entry.r, 0});

    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(colour_row, 0);
        for (int x = 0; x < size; ++x) {
            const Rgba& p = pixels[static_cast<std::size_t>(y) * size + x];
            if (bpp == 32) {
                std::copy_n(std::array<std::uint8_t, 4>{p.b, p.g, p.r, p.a}.begin(), 4,
                            &row[static_cast<std::size_t>(x) * 4]);
                continue;
            }
            const std::uint8_t index = p.a < 128 ? std::uint8_t{0} : Nearest(palette, p);
            if (bpp == 8)
                row[x] = index;
            else
                row[x / 2] |= static_cast<std::uint8_t>(x % 2 ? index : index << 4);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(mask_row, 0);
        for (int x = 0; x < size; ++x) {
            if (pixels[static_cast<std::size_t>(y) * size + x].a < 128)
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

std::vector<std::uint8_t> MakeProgramIcon() {
    constexpr int kSizes[] = {48, 32, 16};
    constexpr int kDepths[] = {4, 8, 32};
    std::vector<std::vector<std::uint8_t>> images;
    std::vector<std::pair<int, int>> formats;
    for (const int size : kSizes) {
        const auto pixels = Render(size);
        for (const int bpp : kDepths) {
            images.push_back(EncodeImage(pixels, size, bpp));
            formats.emplace_back(size, bpp);
        }
    }

    std::vector<std::uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(images.size()));
    unsigned offset = 6 + 16 * static_cast<unsigned>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const auto [size, bpp] = formats[i];
        out.push_back(static_cast<std::uint8_t>(size));
        out.push_back(static_cast<std::uint8_t>(size));
        out.push_back(static_cast<std::uint8_t>(bpp == 4 ? 16 : 0));
        out.push_back(0);
        Put16(out, 1);
        Put16(out, static_cast<unsigned>(bpp));
        Put32(out, static_cast<unsigned>(images[i].size()));
        Put32(out, offset);
        offset += static_cast<unsigned>(images[i].size());
    }
    for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
    return out;
}

}  // namespace nimbrel::tools
