#include "e2e/win32_capture.h"

#include <cstdint>
#include <fstream>
#include <vector>

#include "e2e/win32_remote.h"

namespace zk::drive {

namespace {

// The pixels of `area` of the screen, bottom row first, rows padded to four bytes.
std::vector<char> screen_pixels(const RECT& area, BITMAPINFOHEADER& header)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, picture);
    const bool copied =
        BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY) != 0;
    SelectObject(memory, old);
    header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const auto row = static_cast<std::size_t>((width * 3 + 3) / 4 * 4);
    std::vector<char> pixels(row * static_cast<std::size_t>(height));
    const int rows = GetDIBits(memory, picture, 0, static_cast<UINT>(height), pixels.data(),
                               reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!copied || rows != height) throw Failure("cannot read the screen");
    return pixels;
}

} // namespace

void save_window_picture(HWND window, const std::filesystem::path& file)
{
    RECT area{};
    if (!GetWindowRect(window, &area)) throw Failure("no window to picture");
    BITMAPINFOHEADER header{};
    const std::vector<char> pixels = screen_pixels(area, header);
    BITMAPFILEHEADER top{};
    top.bfType = 0x4D42; // "BM"
    top.bfOffBits = sizeof top + sizeof header;
    top.bfSize = static_cast<DWORD>(top.bfOffBits + pixels.size());
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&top), sizeof top);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    if (!out) throw Failure("cannot write " + file.string());
}

} // namespace zk::drive
