// SPDX-License-Identifier: GPL-3.0-or-later
#include "logo.h"

#include "comptr.h"
#include "resourceids.h"

#include <wincodec.h>

namespace tavoro {

namespace {

// The bytes of the logo resource; they live as long as the program.
bool logoBytes(const BYTE*& bytes, DWORD& size)
{
    const HMODULE program = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(TAVORO_LOGO_RESOURCE), MAKEINTRESOURCEW(10)); // RT_RCDATA
    const HGLOBAL loaded = found != nullptr ? LoadResource(program, found) : nullptr;
    if (loaded == nullptr)
        return false;
    bytes = static_cast<const BYTE*>(LockResource(loaded));
    size = SizeofResource(program, found);
    return bytes != nullptr && size != 0;
}

} // namespace

Bitmap logoBitmap(int width, int height)
{
    const BYTE* bytes = nullptr;
    DWORD size = 0;
    if (width <= 0 || height <= 0 || !logoBytes(bytes, size))
        return {};

    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    ComPtr<IWICBitmapScaler> scaler;
    const bool decoded = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                             IID_IWICImagingFactory, factory.putVoid()))
        && SUCCEEDED(factory->CreateStream(stream.put()))
        && SUCCEEDED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes), size))
        && SUCCEEDED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put()))
        && SUCCEEDED(decoder->GetFrame(0, frame.put()))
        && SUCCEEDED(factory->CreateFormatConverter(converter.put()))
        && SUCCEEDED(converter->Initialize(frame.get(), GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone,
            nullptr, 0.0, WICBitmapPaletteTypeCustom))
        && SUCCEEDED(factory->CreateBitmapScaler(scaler.put()))
        // Fant: the smooth filter for shrinking a photograph.
        && SUCCEEDED(scaler->Initialize(converter.get(), static_cast<UINT>(width), static_cast<UINT>(height),
            WICBitmapInterpolationModeFant));
    if (!decoded)
        return {};

    // A top-down 24-bit bitmap: a static control draws it as it is, without a copy of its own.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!bitmap)
        return {};
    const UINT stride = (static_cast<UINT>(width) * 3 + 3) & ~3U;
    if (FAILED(scaler->CopyPixels(nullptr, stride, stride * static_cast<UINT>(height), static_cast<BYTE*>(pixels))))
        return {};
    return bitmap;
}

} // namespace tavoro
