#include "tools/artwork/PixelFont.h"

#include <cstring>

namespace artwork {
namespace {

struct Glyph {
    char character;
    // Seven rows, '#' for ink; all rows of a glyph are equally wide.
    const char* rows[kGlyphRows];
    // The row left out in the six-row caption cut: where possible one that
    // repeats its neighbour, so that no stroke or diagonal is lost.
    int captionDroppedRow = 2;
};

const Glyph kGlyphs[] = {
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {"###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"}},
    {'J', {"..###", "...#.", "...#.", "...#.", "#..#.", "#..#.", ".##.."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}, 4},
    {'N', {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"}, 1},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}, 0},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}, 1},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
    {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###."}},
    {'l', {"##.", ".#.", ".#.", ".#.", ".#.", ".#.", "###"}},
    {'n', {".....", ".....", "####.", "#...#", "#...#", "#...#", "#...#"}},
    {'o', {".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."}},
    {'r', {".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."}},
    {'s', {".....", ".....", ".####", "#....", ".###.", "....#", "####."}},
    {'u', {".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"}},
    {'v', {".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'\'', {"#", "#", ".", ".", ".", ".", "."}},
    {' ', {"...", "...", "...", "...", "...", "...", "..."}},
};

const Glyph* findGlyph(char c) {
    for (const Glyph& glyph : kGlyphs) {
        if (glyph.character == c) return &glyph;
    }
    return nullptr;
}

int glyphWidth(char c) {
    const Glyph* glyph = findGlyph(c);
    return glyph ? static_cast<int>(std::strlen(glyph->rows[0])) : 3;
}

void drawGlyph(Canvas& canvas, const Glyph& glyph, int x, int y, Rgb color, int scale, LetterHeight height) {
    int outputRow = 0;
    for (int row = 0; row < kGlyphRows; ++row) {
        if (height == LetterHeight::Caption && row == glyph.captionDroppedRow) continue;
        const char* line = glyph.rows[row];
        for (int column = 0; line[column] != '\0'; ++column) {
            if (line[column] != '#') continue;
            for (int dy = 0; dy < scale; ++dy) {
                for (int dx = 0; dx < scale; ++dx) canvas.set(x + column * scale + dx, y + outputRow * scale + dy, color);
            }
        }
        ++outputRow;
    }
}

}  // namespace

int textWidth(const std::string& text, int scale) {
    int width = 0;
    for (char c : text) width += (glyphWidth(c) + 1) * scale;
    return text.empty() ? 0 : width - scale;
}

void drawText(Canvas& canvas, const std::string& text, int x, int y, Rgb color, int scale, LetterHeight height) {
    for (char c : text) {
        if (const Glyph* glyph = findGlyph(c)) drawGlyph(canvas, *glyph, x, y, color, scale, height);
        x += (glyphWidth(c) + 1) * scale;
    }
}

}  // namespace artwork
