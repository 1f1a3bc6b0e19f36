// Screen copy with GDI into a 24-bit DIB, BMP files, and JPEG through the GDI+ flat API.
// The SDK headers need <windows.h> first.
// clang-format off
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
// clang-format on

#include "platform/image_files.hpp"
#include "platform/win32/win32_platform.hpp"
#include "platform/win32/win32_text.hpp"

namespace mavorin::win32 {

namespace {

// A top-down 24-bit DIB section of the given size; `bits` points at its first row.
HBITMAP make_dib(HDC dc, int w, int h, void** bits) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(dc, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
}

int stride_of(int w) {
    return (w * 3 + 3) & ~3;
}

// A DIB section holding the image's pixels.
HBITMAP to_hbitmap(const Bitmap& image) {
    void* bits = nullptr;
    HBITMAP bmp = make_dib(nullptr, image.width, image.height, &bits);
    if (!bmp || !bits) return bmp;
    const int stride = stride_of(image.width);
    const size_t row = static_cast<size_t>(image.width) * 3;
    for (int y = 0; y < image.height; ++y)
        memcpy(static_cast<uint8_t*>(bits) + static_cast<size_t>(y) * stride,
               image.bgr.data() + y * row, row);
    GdiFlush();
    return bmp;
}

}  // namespace

Bitmap Win32Platform::capture_screen() {
    Bitmap out;
    HWND desktop = GetDesktopWindow();
    HDC screen = GetDC(desktop);
    if (!screen) return out;
    RECT r{};
    GetWindowRect(desktop, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC mem = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP dib = w > 0 && h > 0 ? make_dib(screen, w, h, &bits) : nullptr;
    if (mem && dib && bits) {
        HGDIOBJ old = SelectObject(mem, dib);
        BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        GdiFlush();
        out.left = r.left;
        out.top = r.top;
        out.right = r.right;
        out.bottom = r.bottom;
        out.width = w;
        out.height = h;
        out.bgr.resize(static_cast<size_t>(w) * h * 3);
        const int stride = stride_of(w);
        const size_t row = static_cast<size_t>(w) * 3;
        for (int y = 0; y < h; ++y)
            memcpy(out.bgr.data() + y * row,
                   static_cast<const uint8_t*>(bits) + static_cast<size_t>(y) * stride, row);
    }
    if (dib) DeleteObject(dib);
    if (mem) DeleteDC(mem);
    ReleaseDC(desktop, screen);
    return out;
}

bool Win32Platform::save_bmp(const Bitmap& image, const std::string& path) {
    return save_bmp_file(image, narrow(resolve(path))).ok();
}

int Win32Platform::save_jpeg(const Bitmap& image, const std::string& path, int quality) {
    using namespace Gdiplus;
    constexpr int kGenericError = 1, kWin32Error = 7;
    if (path.empty()) return kWin32Error;
    GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Status status = GdiplusStartup(&token, &input, nullptr);
    if (status != Ok) return status;
    HBITMAP hbm = to_hbitmap(image);
    GpBitmap* bitmap = nullptr;
    status = hbm ? DllExports::GdipCreateBitmapFromHBITMAP(hbm, nullptr, &bitmap)
                 : static_cast<Status>(kGenericError);
    // Encoded into memory, so that the bytes reach the file the way every other save does.
    std::string bytes;
    if (status == Ok) {
        CLSID encoder{};
        GUID quality_param{};
        CLSIDFromString(L"{557CF401-1A04-11D3-9A73-0000F81EF32E}", &encoder);
        CLSIDFromString(L"{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}", &quality_param);
        LONG value = quality;
        EncoderParameters params{};
        params.Count = 1;
        params.Parameter[0].Guid = quality_param;
        params.Parameter[0].NumberOfValues = 1;
        params.Parameter[0].Type = EncoderParameterValueTypeLong;
        params.Parameter[0].Value = &value;
        IStream* stream = nullptr;
        if (CreateStreamOnHGlobal(nullptr, TRUE, &stream) != S_OK) {
            status = static_cast<Status>(kWin32Error);
        } else {
            status = DllExports::GdipSaveImageToStream(bitmap, stream, &encoder, &params);
            STATSTG stat{};
            HGLOBAL memory = nullptr;
            if (status == Ok && stream->Stat(&stat, STATFLAG_NONAME) == S_OK &&
                GetHGlobalFromStream(stream, &memory) == S_OK) {
                if (const void* data = GlobalLock(memory)) {
                    bytes.assign(static_cast<const char*>(data),
                                 static_cast<size_t>(stat.cbSize.QuadPart));
                    GlobalUnlock(memory);
                }
            }
            stream->Release();
            if (status == Ok && bytes.empty()) status = static_cast<Status>(kGenericError);
        }
        DllExports::GdipDisposeImage(bitmap);
    }
    if (hbm) DeleteObject(hbm);
    GdiplusShutdown(token);
    if (status == Ok && !save_file(narrow(resolve(path)), bytes, Durability::plain).ok())
        status = static_cast<Status>(kWin32Error);
    return status;
}

}  // namespace mavorin::win32
