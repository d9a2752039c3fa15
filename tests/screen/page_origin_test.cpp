// Whole-page pictures put again at every pass copy and compare only the rows
// drawn over since: every sequence of drawing must leave both pages exactly
// as drawing without that shortcut does, at both depths.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "core/image.h"
#include "platform/screen.h"

namespace halvane {
namespace {

enum class Op {
    PutA,      // whole picture A, opaque at (0, 0)
    PutB,      // whole picture B, opaque at (0, 0)
    PutABlend, // A blended: not the shortcut
    PutAShifted,
    Sprite,     // a small put over rows 130..139
    SpriteLow,  // the same over rows 400..409
    SpriteLeft, // the same at the left edge, rows 135..144
    Box,        // rows 200..209
    Line,       // rows 5..300
    Arc,        // around row 60
    Copy,       // CopyWorkPage
    Swap,       // the other page becomes the work page
    SameWork,   // work page == visible page
    Clear,
    GrabIntoA, // picture A is overwritten from the work page
    Poke,      // a pixel written straight through PagePixels
};

using FullImage = FullScreenImage;
FullImage PictureA, PictureB;
ImageBuffer<40, 10> SpriteImage;

// Pictures without symmetry, distinct in every row.
void MakePictures(int bpp) {
    WriteImageHeader(PictureA, 640, 480, bpp);
    WriteImageHeader(PictureB, 640, 480, bpp);
    WriteImageHeader(SpriteImage, 40, 10, bpp);
    for (std::size_t i = kImageHeaderBytes; i < PictureA.size(); ++i) {
        PictureA[i] = static_cast<uint8_t>(i * 7 + i / 1280);
        PictureB[i] = static_cast<uint8_t>(i * 13 + i / 640 + 5);
    }
    for (std::size_t i = kImageHeaderBytes; i < SpriteImage.size(); ++i)
        SpriteImage[i] = static_cast<uint8_t>(i * 31 + 1);
}

int Work = 0;

void Apply(Op op) {
    switch (op) {
    case Op::PutA:
        PutImage(0, 0, PictureA, kPutOpaque, 255);
        break;
    case Op::PutB:
        PutImage(0, 0, PictureB, kPutOpaque, 255);
        break;
    case Op::PutABlend:
        PutImage(0, 0, PictureA, kPutBlend, 128);
        break;
    case Op::PutAShifted:
        PutImage(0, 1, PictureA, kPutOpaque, 255);
        break;
    case Op::Sprite:
        PutImage(290, 130, SpriteImage, kPutBlend, 200);
        break;
    case Op::SpriteLow:
        PutImage(600, 400, SpriteImage, kPutOpaque, 255);
        break;
    case Op::SpriteLeft:
        PutImage(-3, 135, SpriteImage, kPutTransparent, 255);
        break;
    case Op::Box:
        FillBox(10, 200, 630, 209, 0x123456);
        break;
    case Op::Line:
        DrawLine(3, 5, 600, 300, 0xFF8000);
        break;
    case Op::Arc:
        DrawArc(320, 60, 30.4f, 0x00FF00, 0, 6.3f);
        break;
    case Op::Copy:
        CopyWorkPage();
        break;
    case Op::Swap:
        Work ^= 1;
        SetPages(Work, Work ^ 1);
        break;
    case Op::SameWork:
        SetPages(Work, Work);
        break;
    case Op::Clear:
        ClearWorkPage();
        break;
    case Op::GrabIntoA:
        GrabImage(0, 0, 639, 479, PictureA);
        break;
    case Op::Poke:
        PagePixels(WorkPageIndex())[640 * 4 * 150 + 40] ^= 0x5A;
        break;
    }
}

// Both pages after each step of `ops`; `shortcut` false forgets what the
// pages hold before every step, so every put and copy is done in full.
std::vector<std::vector<uint8_t>> PagesAfterEachStep(const std::vector<Op> &ops, int depth,
                                                     bool shortcut) {
    OpenOffscreenPages(depth);
    MakePictures(ScreenBytesPerPixel());
    Work = 0;
    SetPages(0, 1);
    std::vector<std::vector<uint8_t>> pages;
    const std::size_t bytes = std::size_t{640} * 480 * ScreenBytesPerPixel();
    for (Op op : ops) {
        if (!shortcut) {
            PagePixels(0);
            PagePixels(1);
        }
        Apply(op);
        for (int p = 0; p < 2; ++p)
            pages.emplace_back(PageView(p), PageView(p) + bytes);
    }
    return pages;
}

TEST(PageOrigin, ShortcutLeavesEveryPixelAsAFullPutAndCopy) {
    using enum Op;
    const std::vector<std::vector<Op>> sequences = {
        // The menu: picture, text, copy, pass after pass.
        {PutA, Sprite, Copy, PutA, Sprite, Copy, PutA, Copy, PutA, Sprite, Copy},
        // Text moving between columns and rows.
        {PutA, Sprite, Copy, PutA, SpriteLeft, Copy, PutA, Copy, PutA, SpriteLow, Sprite, Copy,
         PutA, SpriteLeft, Copy, PutA, Copy},
        // Boxes, lines and arcs over the picture.
        {PutA, Sprite, Copy, PutA, SpriteLow, Copy, PutA, Box, Line, Copy, PutA, Arc, Copy, PutA,
         Copy},
        // Another picture, or the same one shifted or blended, in between.
        {PutA, Copy, PutB, Copy, PutA, Sprite, Copy, PutAShifted, Copy, PutA, Copy, PutABlend, Copy,
         PutA, Copy},
        // Page swapping, as play does, and drawing on the visible page.
        {PutA, Sprite, Swap, PutA, Copy, Swap, PutA, Box, Copy, SameWork, PutA, Line, Copy, Swap,
         PutA, Copy},
        // The picture changes under the same buffer; a clear; a raw write.
        {PutA, Copy, Sprite, GrabIntoA, PutA, Copy, PutA, Clear, PutA, Copy, Poke, PutA, Copy, Poke,
         Copy},
    };
    for (int depth : {32, 16}) {
        for (std::size_t s = 0; s < sequences.size(); ++s) {
            const auto fast = PagesAfterEachStep(sequences[s], depth, true);
            const auto full = PagesAfterEachStep(sequences[s], depth, false);
            ASSERT_EQ(fast.size(), full.size());
            for (std::size_t i = 0; i < fast.size(); ++i)
                ASSERT_TRUE(fast[i] == full[i]) << "depth " << depth << ", sequence " << s
                                                << ", step " << i / 2 << ", page " << i % 2;
        }
    }
}

} // namespace
} // namespace halvane
