// Draws the start-up picture, splash.bmp: 512 x 280, 24-bit BMP. A calm grey backdrop;
// the logo and name in the band to the right of the boot program's title (screen rows
// 32-87, which the walkers never paint); the web address in the bottom strip (rows
// 256-279, below the pixel area); and in the lower-right corner the seventeen keyboard
// keys with the keypad values they stand for. Usage: make_splash OUTPUT
#include <QColor>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QRectF>
#include <QString>

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

constexpr int Width = 512;
constexpr int Height = 280;
constexpr const char* Name = "Lumvexor";
constexpr const char* WebAddress = "www.quorvane.net";
constexpr const char* Tagline = "CHIP-8 \u00B7 SUPER-CHIP";
constexpr const char* FontFamily = "DejaVu Sans";

// The band beside the title that only the title shares, and the strip below the pixels.
constexpr int BandTop = 32;
constexpr int BandBottom = 88;
constexpr int StripTop = 256;

const QColor BackdropTop(0x4a, 0x4a, 0x4a);
const QColor BackdropBottom(0x2e, 0x2e, 0x2e);
const QColor NameColour(0xf2, 0xf2, 0xf2);
const QColor QuietText(0xb4, 0xb4, 0xb4);
const QColor KeyValueBlue(0x17, 0x5c, 0xd6);
const QColor KeyValueRed(0xd3, 0x2a, 0x2a);
const QColor KeyLetter(0x50, 0x50, 0x50);

QFont font(double pixelSize, bool bold)
{
    QFont f(FontFamily);
    f.setPixelSize(static_cast<int>(pixelSize));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

void drawBackdrop(QPainter& p)
{
    QLinearGradient shade(0, 0, 0, Height);
    shade.setColorAt(0.0, BackdropTop);
    shade.setColorAt(1.0, BackdropBottom);
    p.fillRect(0, 0, Width, Height, shade);

    // A soft light behind the branding, neutral so the backdrop stays grey.
    QRadialGradient glow(QPointF(425, 60), 170);
    glow.setColorAt(0.0, QColor(255, 255, 255, 22));
    glow.setColorAt(0.35, QColor(255, 255, 255, 14));
    glow.setColorAt(0.7, QColor(255, 255, 255, 5));
    glow.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillRect(0, 0, Width, Height, glow);

    // A faint dot at the corner of every pixel cell, like the grid of a display.
    p.setPen(Qt::NoPen);
    for (int y = 4; y < StripTop; y += 4) {
        for (int x = 4; x < Width; x += 4) {
            p.fillRect(QRectF(x, y, 1, 1), QColor(0, 0, 0, 18));
        }
    }

    // A groove where the pixel area ends and the bottom strip begins, fading out before
    // the keyboard.
    QLinearGradient dark(0, 0, 350, 0);
    dark.setColorAt(0.0, QColor(0, 0, 0, 70));
    dark.setColorAt(0.75, QColor(0, 0, 0, 70));
    dark.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(0, StripTop, 350, 1), dark);
    QLinearGradient light(0, 0, 350, 0);
    light.setColorAt(0.0, QColor(255, 255, 255, 16));
    light.setColorAt(0.75, QColor(255, 255, 255, 16));
    light.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, StripTop + 1, 350, 1), light);
}

// The logo: a chip with pins on both sides whose face is a 5 x 5 grid of pixels; the lit
// ones form an L, with one red pixel in the far corner like the red key of the keyboard.
void drawLogo(QPainter& p, QPointF topLeft, double size)
{
    const double pin = size * 0.08;
    const QRectF body(topLeft.x() + pin, topLeft.y(), size - 2 * pin, size);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x9a, 0x9a, 0x9a));
    const int pins = 5;
    const double pinPitch = body.height() / pins;
    for (int k = 0; k < pins; ++k) {
        const double y = body.top() + pinPitch * (k + 0.5) - pinPitch * 0.18;
        p.drawRoundedRect(QRectF(topLeft.x(), y, pin + 1, pinPitch * 0.36), 0.6, 0.6);
        p.drawRoundedRect(QRectF(body.right() - 1, y, pin + 1, pinPitch * 0.36), 0.6, 0.6);
    }

    // Shadow, then the body with a faint top light and a thin rim.
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(body.translated(0, 1.5), 5, 5);
    QLinearGradient face(body.topLeft(), body.bottomLeft());
    face.setColorAt(0.0, QColor(0x2c, 0x2e, 0x32));
    face.setColorAt(1.0, QColor(0x1a, 0x1b, 0x1e));
    p.setBrush(face);
    p.setPen(QPen(QColor(0x6a, 0x6c, 0x70), 1));
    p.drawRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);

    constexpr std::array<const char*, 5> Pattern = {
        "#...*",
        "#....",
        "#....",
        "#....",
        "####.",
    };
    const double inset = body.width() * 0.14;
    const QRectF grid = body.adjusted(inset, inset, -inset, -inset);
    const double pitch = grid.width() / 5;
    const double cell = pitch * 0.78;
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < 5; ++col) {
            const QRectF r(grid.left() + col * pitch + (pitch - cell) / 2,
                           grid.top() + row * pitch + (pitch - cell) / 2, cell, cell);
            const char c = Pattern[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
            if (c == '.') {
                p.setBrush(QColor(255, 255, 255, 22));
            } else {
                QLinearGradient lit(r.topLeft(), r.bottomRight());
                if (c == '#') {
                    lit.setColorAt(0.0, QColor(0x8c, 0xd0, 0xff));
                    lit.setColorAt(1.0, QColor(0x2f, 0x86, 0xf0));
                } else {
                    lit.setColorAt(0.0, QColor(0xff, 0x8a, 0x7a));
                    lit.setColorAt(1.0, QColor(0xe0, 0x34, 0x2e));
                }
                p.setBrush(lit);
            }
            p.drawRoundedRect(r, 1.2, 1.2);
        }
    }
}

// The largest bold size, at most maxSize, at which the text fits in width.
double fittingSize(const QString& text, double width, double maxSize)
{
    double size = maxSize;
    while (size > 8 && QFontMetricsF(font(size, true)).horizontalAdvance(text) > width) {
        size -= 1;
    }
    return size;
}

void drawBranding(QPainter& p)
{
    constexpr double logoSize = 44;
    const QPointF logoAt(340, BandTop + (BandBottom - BandTop - logoSize) / 2);
    drawLogo(p, logoAt, logoSize);

    const double textLeft = logoAt.x() + logoSize + 9;
    const double textRight = Width - 8;
    const QString name = QString::fromUtf8(Name);
    const QFont nameFont = font(fittingSize(name, textRight - textLeft, 26), true);
    const QFontMetricsF nameMetrics(nameFont);
    // Name and tagline as one block, centred on the logo.
    const double nameBaseline = logoAt.y() + 4 + nameMetrics.capHeight();

    p.setFont(nameFont);
    p.setPen(QColor(0, 0, 0, 110));
    p.drawText(QPointF(textLeft, nameBaseline + 1.5), name);
    p.setPen(NameColour);
    p.drawText(QPointF(textLeft, nameBaseline), name);

    // The tagline spans the width of the name.
    const QString tagline = QString::fromUtf8(Tagline);
    const double nameWidth = nameMetrics.horizontalAdvance(name);
    QFont tagFont = font(fittingSize(tagline, nameWidth, 9), true);
    const double spare = nameWidth - QFontMetricsF(tagFont).horizontalAdvance(tagline);
    tagFont.setLetterSpacing(QFont::AbsoluteSpacing, spare / static_cast<double>(tagline.size() - 1));
    p.setFont(tagFont);
    p.setPen(QuietText);
    p.drawText(QPointF(textLeft, logoAt.y() + logoSize - 5), tagline);
}

void drawWebAddress(QPainter& p)
{
    const QFont addressFont = font(11, false);
    p.setFont(addressFont);
    p.setPen(QuietText);
    const QFontMetricsF metrics(addressFont);
    const double baseline = StripTop + (Height - StripTop + metrics.ascent() - metrics.descent()) / 2 + 1;
    p.drawText(QPointF(10, baseline), QString::fromUtf8(WebAddress));
}

struct Key {
    const char* letter; // the key's legend on a US keyboard
    const char* value;  // the keypad value it stands for, in hexadecimal
};

struct KeyRow {
    double offset; // how far the row starts to the right, in key widths, as on a keyboard
    std::vector<Key> keys;
};

void drawKey(QPainter& p, const QRectF& cap, const Key& key, bool red)
{
    p.setPen(Qt::NoPen);
    // Drop shadow on the backdrop.
    p.setBrush(QColor(0, 0, 0, 80));
    p.drawRoundedRect(cap.translated(0, 1.5), 3, 3);
    // The skirt, then the face on top of it, set back from the bottom edge.
    p.setBrush(QColor(0xa6, 0xa8, 0xac));
    p.drawRoundedRect(cap, 3, 3);
    const QRectF face = cap.adjusted(1.5, 1, -1.5, -3);
    QLinearGradient faceShade(face.topLeft(), face.bottomLeft());
    faceShade.setColorAt(0.0, QColor(0xf7, 0xf7, 0xf7));
    faceShade.setColorAt(1.0, QColor(0xe2, 0xe2, 0xe2));
    p.setBrush(faceShade);
    p.drawRoundedRect(face, 2.5, 2.5);

    const QFont letterFont = font(8, true);
    p.setFont(letterFont);
    p.setPen(KeyLetter);
    p.drawText(QPointF(face.left() + 2, face.top() + 2 + QFontMetricsF(letterFont).capHeight()),
               QString::fromUtf8(key.letter));

    const QFont valueFont = font(12, true);
    p.setFont(valueFont);
    p.setPen(red ? KeyValueRed : KeyValueBlue);
    // Right-aligned on a baseline near the bottom, clear of the letter even for "10".
    const QString value = QString::fromUtf8(key.value);
    const double valueWidth = QFontMetricsF(valueFont).horizontalAdvance(value);
    p.drawText(QPointF(face.right() - 2 - valueWidth, face.bottom() - 1.5), value);
}

void drawKeyboard(QPainter& p)
{
    const std::array<KeyRow, 4> rows = {{
        {0.0, {{"3", "1"}, {"4", "2"}, {"5", "3"}, {"6", "C"}, {"7", "10"}}},
        {0.5, {{"E", "4"}, {"R", "5"}, {"T", "6"}, {"Y", "D"}}},
        {0.75, {{"D", "7"}, {"F", "8"}, {"G", "9"}, {"H", "E"}}},
        {1.25, {{"C", "A"}, {"V", "0"}, {"B", "B"}, {"N", "F"}}},
    }};
    constexpr double pitch = 28;
    constexpr double cap = 25;
    constexpr double left = 357;
    constexpr double top = 161;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const KeyRow& row = rows[r];
        for (std::size_t k = 0; k < row.keys.size(); ++k) {
            const QRectF rect(left + (row.offset + static_cast<double>(k)) * pitch, top + static_cast<double>(r) * pitch,
                              cap, cap);
            // The key for keypad 16 sits at the end of the top row and is the one in red.
            const bool red = r == 0 && k + 1 == row.keys.size();
            drawKey(p, rect, row.keys[k], red);
        }
    }
}

void put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// BITMAPFILEHEADER + BITMAPINFOHEADER, then BGR rows from the bottom, each padded to 4 bytes.
std::vector<std::uint8_t> encodeBmp(const QImage& image)
{
    const auto width = static_cast<std::uint32_t>(image.width());
    const auto height = static_cast<std::uint32_t>(image.height());
    const std::uint32_t stride = (width * 3 + 3) / 4 * 4;
    const std::uint32_t dataSize = stride * height;
    constexpr std::uint32_t HeaderSize = 14 + 40;
    constexpr std::uint32_t PixelsPerMetre = 2835; // 72 dpi

    std::vector<std::uint8_t> bmp;
    bmp.reserve(HeaderSize + dataSize);
    bmp.push_back('B');
    bmp.push_back('M');
    put(bmp, HeaderSize + dataSize, 4);
    put(bmp, 0, 4);
    put(bmp, HeaderSize, 4);
    put(bmp, 40, 4);
    put(bmp, width, 4);
    put(bmp, height, 4); // positive: bottom-up
    put(bmp, 1, 2);      // planes
    put(bmp, 24, 2);     // bits per pixel
    put(bmp, 0, 4);      // no compression
    put(bmp, dataSize, 4);
    put(bmp, PixelsPerMetre, 4);
    put(bmp, PixelsPerMetre, 4);
    put(bmp, 0, 4);
    put(bmp, 0, 4);
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb rgb = image.pixel(x, y);
            bmp.push_back(static_cast<std::uint8_t>(qBlue(rgb)));
            bmp.push_back(static_cast<std::uint8_t>(qGreen(rgb)));
            bmp.push_back(static_cast<std::uint8_t>(qRed(rgb)));
        }
        for (std::uint32_t pad = width * 3; pad < stride; ++pad) {
            bmp.push_back(0);
        }
    }
    return bmp;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_splash OUTPUT\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    // Another family would silently change the picture; better to stop.
    if (QFontInfo(font(12, false)).family() != QString::fromUtf8(FontFamily)) {
        std::fprintf(stderr, "make_splash: the font %s is missing (Debian: fonts-dejavu-core)\n", FontFamily);
        return 1;
    }

    QImage image(Width, Height, QImage::Format_RGB32);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        drawBackdrop(p);
        drawBranding(p);
        drawWebAddress(p);
        drawKeyboard(p);
    }

    const std::vector<std::uint8_t> bmp = encodeBmp(image);
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
    if (!out) {
        std::fprintf(stderr, "make_splash: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
