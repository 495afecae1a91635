#pragma once
// A small 3D device of our own in the shape of the Direct3D 8 calls the game makes, which
// draws on the CPU. It takes pretransformed vertices only (SSoftVertex), one texture stage,
// and presents into an SDL window's surface, or nowhere in headless mode (null window).
//
// Usage:
//   CSoftD3D* d3d = CSoftD3D::Create();            // or Create(profile) in tests
//   SSoftPresentParams pp;                          // size, format, window (opaque SDL_Window*)
//   CSoftD3DDevice* device = nullptr;
//   d3d->CreateDevice(pp, &device);
//   device->SetVertexFormat(SOFT_FVF_SCREEN);
//   device->Clear(SOFT_CLEAR_TARGET | SOFT_CLEAR_ZBUFFER, 0xFF000000, 1.0f);
//   device->BeginScene();
//   device->SetTexture(0, texture);                 // from CreateTexture + LockRect/UnlockRect
//   device->DrawPrimitiveUP(SOFT_PT_TRIANGLESTRIP, 2, vertices, sizeof(SSoftVertex));
//   device->EndScene();
//   if (device->Present() == ESoftResult::DeviceLost) { ... TestCooperativeLevel, Reset ... }
//   device->Release(); d3d->Release();
//
// Draw calls are recorded and carried out together (see FlushQueuedDraws). Rasterisation is
// exact and deterministic: pixel centres lie on whole coordinates (callers shift 2D quads by
// -0.5), the top-left fill rule decides shared edges, and attributes are interpolated in
// fixed point, so the same calls give the same pixels on every machine and with any number
// of worker threads. Every resource is "managed": it lives in system memory
// and survives Reset. Resources are reference counted; Release() drops one reference, and
// the device holds one on whatever is bound to it.

#include "platform/d3d8/SoftD3DTypes.h"

#include <cstdint>
#include <memory>

class CSoftD3DDevice;
struct SSoftDeviceState;

// Reference count shared by every object of the device.
class CSoftRefCounted
{
public:
    CSoftRefCounted() = default;
    CSoftRefCounted(const CSoftRefCounted&) = delete;
    CSoftRefCounted& operator=(const CSoftRefCounted&) = delete;

    void AddRef() { ++m_refs; }
    // Drops one reference; the object deletes itself at zero. Returns the references left.
    uint32_t Release();

protected:
    virtual ~CSoftRefCounted() = default;

private:
    uint32_t m_refs = 1;
};

// A texture with one level. Lock gives the pixels in the texture's own format; Unlock turns
// them into the 32-bit copy the rasteriser samples.
class CSoftTexture : public CSoftRefCounted
{
public:
    CSoftTexture(ESoftFormat format, uint32_t width, uint32_t height);

    void GetLevelDesc(SSoftSurfaceDesc& desc) const;
    bool LockRect(SSoftLockedRect& locked);  // false when already locked
    bool UnlockRect();                       // false when not locked
    bool IsLocked() const { return m_locked; }

    // Rasteriser access: 0xAARRGGBB texels, width x height, rows top first and
    // GetTexelPitch() apart, surrounded by a border of one texel that repeats the edge texels
    // (so that clamped bilinear sampling near the edges needs no index clamping).
    const uint32_t* GetTexels() const { return m_texels.get() + m_width + 3; }
    uint32_t GetTexelPitch() const { return m_width + 2; }
    uint32_t GetWidth() const { return m_width; }
    uint32_t GetHeight() const { return m_height; }
    bool IsValid() const { return m_texels != nullptr && m_storage != nullptr; }

private:
    friend struct SSoftDeviceState;
    // The device whose queued draws sample this texture; unlocking draws them first.
    void SetQueuedBy(CSoftD3DDevice* device) { m_queuedBy = device; }
    CSoftD3DDevice* GetQueuedBy() const { return m_queuedBy; }

    ESoftFormat m_format;
    uint32_t m_width;
    uint32_t m_height;
    uint32_t m_pitch;
    bool m_locked = false;
    CSoftD3DDevice* m_queuedBy = nullptr;
    std::unique_ptr<uint8_t[]> m_storage;  // pixels in m_format
    std::unique_ptr<uint32_t[]> m_texels;  // decoded 0xAARRGGBB copy with its border
};

// Vertex data in SOFT_FVF_SCREEN layout.
class CSoftVertexBuffer : public CSoftRefCounted
{
public:
    explicit CSoftVertexBuffer(uint32_t sizeBytes);

    bool Lock(void** data);  // the whole buffer; false when already locked
    bool Unlock();
    bool IsLocked() const { return m_locked; }
    uint32_t GetSize() const { return m_size; }
    const uint8_t* GetData() const { return m_data.get(); }
    bool IsValid() const { return m_data != nullptr; }

private:
    uint32_t m_size;
    bool m_locked = false;
    std::unique_ptr<uint8_t[]> m_data;
};

// 16-bit indices.
class CSoftIndexBuffer : public CSoftRefCounted
{
public:
    explicit CSoftIndexBuffer(uint32_t sizeBytes);

    bool Lock(void** data);  // the whole buffer; false when already locked
    bool Unlock();
    bool IsLocked() const { return m_locked; }
    uint32_t GetIndexCount() const { return m_size / 2; }
    const uint16_t* GetIndices() const { return m_data.get(); }
    bool IsValid() const { return m_data != nullptr; }

private:
    uint32_t m_size;
    bool m_locked = false;
    std::unique_ptr<uint16_t[]> m_data;
};

// A system-memory image (A8R8G8B8) for reading frames back.
class CSoftSurface : public CSoftRefCounted
{
public:
    CSoftSurface(uint32_t width, uint32_t height);

    void GetDesc(SSoftSurfaceDesc& desc) const;
    bool LockRect(SSoftLockedRect& locked);
    bool UnlockRect();
    uint32_t* GetPixels() { return m_pixels.get(); }
    bool IsValid() const { return m_pixels != nullptr; }

private:
    uint32_t m_width;
    uint32_t m_height;
    bool m_locked = false;
    std::unique_ptr<uint32_t[]> m_pixels;
};

// The adapter: display modes, format support, device creation.
class CSoftD3D : public CSoftRefCounted
{
public:
    // The adapter of the SDL desktop (initialises SDL's video subsystem; null when that fails).
    static CSoftD3D* Create();
    // An adapter with exactly the given capabilities (no SDL involved unless a device is
    // later made with a window).
    static CSoftD3D* Create(const SSoftAdapterProfile& profile);

    // The profile every desktop adapter reports beside its desktop mode.
    static SSoftAdapterProfile GetDefaultProfile();

    void GetAdapterDisplayMode(SSoftDisplayMode& mode) const;
    uint32_t GetAdapterModeCount() const;
    bool EnumAdapterModes(uint32_t index, SSoftDisplayMode& mode) const;
    bool CheckTextureFormat(ESoftFormat format) const;
    bool CheckDepthStencilFormat(ESoftFormat format) const;
    void GetDeviceCaps(SSoftCaps& caps) const;

    bool CreateDevice(const SSoftPresentParams& params, CSoftD3DDevice** device);

protected:
    ~CSoftD3D() override;

private:
    CSoftD3D(const SSoftAdapterProfile& profile, bool ownsVideo);

    SSoftAdapterProfile m_profile;
    bool m_ownsVideo;
};

class CSoftD3DDevice : public CSoftRefCounted
{
public:
    // Device state
    ESoftResult TestCooperativeLevel();
    // Rebuilds the back and depth buffers (and presentation) for new parameters. Allowed while
    // the device is ready or DeviceNotReset; resources survive.
    ESoftResult Reset(const SSoftPresentParams& params);
    // Shows the back buffer (copying it to the front buffer); DeviceLost when lost.
    ESoftResult Present();
    void GetDeviceCaps(SSoftCaps& caps) const;

    bool BeginScene();  // false when already in a scene
    bool EndScene();    // false when not in a scene
    // Fills the viewport of the back buffer and/or depth buffer.
    bool Clear(uint32_t flags, uint32_t colour, float z);
    bool SetViewport(const SSoftViewport& viewport);  // false when outside the back buffer
    void GetViewport(SSoftViewport& viewport) const;

    bool SetRenderState(ESoftRenderState state, uint32_t value);  // false for a bad value
    uint32_t GetRenderState(ESoftRenderState state) const;
    // Stage 0 takes every state; stages above accept only COLOROP/ALPHAOP DISABLE.
    bool SetTextureStageState(uint32_t stage, ESoftStageState state, uint32_t value);
    uint32_t GetTextureStageState(uint32_t stage, ESoftStageState state) const;
    bool SetTexture(uint32_t stage, CSoftTexture* texture);  // null unbinds; stage 0 only

    bool SetVertexFormat(uint32_t fvf);  // SOFT_FVF_SCREEN only
    bool SetStreamSource(CSoftVertexBuffer* buffer, uint32_t stride);
    bool SetIndices(CSoftIndexBuffer* buffer, uint32_t baseVertexIndex);

    // Draws. Every count, index and range is checked against the data first: a draw that
    // would read outside it is refused whole (false). Outside BeginScene/EndScene, or while
    // the device is lost, a valid call succeeds and draws nothing.
    bool DrawPrimitive(ESoftPrimitive type, uint32_t startVertex, uint32_t primitiveCount);
    bool DrawIndexedPrimitive(ESoftPrimitive type, uint32_t minIndex, uint32_t vertexCount,
                              uint32_t startIndex, uint32_t primitiveCount);
    bool DrawPrimitiveUP(ESoftPrimitive type, uint32_t primitiveCount, const void* vertices,
                         uint32_t stride);
    bool DrawIndexedPrimitiveUP(ESoftPrimitive type, uint32_t minIndex, uint32_t vertexCount,
                                uint32_t primitiveCount, const uint16_t* indices,
                                const void* vertices, uint32_t stride);

    // Resources
    bool CreateTexture(uint32_t width, uint32_t height, ESoftFormat format, CSoftTexture** texture);
    bool CreateVertexBuffer(uint32_t sizeBytes, CSoftVertexBuffer** buffer);
    bool CreateIndexBuffer(uint32_t sizeBytes, CSoftIndexBuffer** buffer);
    bool CreateImageSurface(uint32_t width, uint32_t height, ESoftFormat format,
                            CSoftSurface** surface);  // A8R8G8B8 only

    // Read-back into an A8R8G8B8 surface of the back-buffer size, top row first. The front
    // buffer is the last presented frame. Alpha is 255 unless the back buffer has alpha.
    bool GetFrontBuffer(CSoftSurface* destination);
    bool GetBackBuffer(CSoftSurface* destination);

    // Draw calls and clears are recorded and drawn together when the frame is presented or
    // read back, when a texture they sample is unlocked, or now.
    void FlushQueuedDraws();

    // Worker threads for drawing: 0 = one per hardware thread, 1 = draw on the calling thread.
    // The pixels never depend on this.
    void SetWorkerThreads(uint32_t count);
    uint32_t GetWorkerThreads() const;

    // Which span loops draw, for tests and benchmarks that compare them.
    void SetSpanLoops(ESpanLoops loops);

    // Tests and the window layer: makes TestCooperativeLevel report DeviceLost (drawing stops,
    // Present fails) or DeviceNotReset (Reset may be called), or Ok again.
    void SimulateLoss(ESoftResult level);

    const SSoftPresentParams& GetPresentParams() const;

protected:
    ~CSoftD3DDevice() override;

private:
    friend class CSoftD3D;
    CSoftD3DDevice(const SSoftAdapterProfile& profile);
    bool ApplyPresentParams(const SSoftPresentParams& params);

    std::unique_ptr<SSoftDeviceState> m_state;
};
