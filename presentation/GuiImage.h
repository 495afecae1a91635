#pragma once
// Pictures in the GUI: a static image (type 11) and an image button (type 4), each
// drawn from a texture of its own, loaded from an image file through the renderer.
// A width or height of 0 takes the image's own (plus twice the button border for a
// bordered image button).
//
// The image button acts as a button: select or a click activates it (event 1) and
// presses it (turns the pressed state over when it sticks), back raises event 0 with
// 1, the directions move the focus; its sounds are always the skin's defaults, and a
// click plays none.

#include "presentation/GuiButton.h"

#include <string>

// The texture of a picture control, given back when the control goes.
class CGuiImageTexture
{
public:
    CGuiImageTexture() = default;
    ~CGuiImageTexture();
    CGuiImageTexture(const CGuiImageTexture&) = delete;
    CGuiImageTexture& operator=(const CGuiImageTexture&) = delete;

    // Loads the file with the texture kind (0 opaque, 1 alpha, 2 alpha test) and gives
    // back the texture held before; false (and none held) when it does not load.
    bool Load(CGuiManager& manager, const std::string& file, int kind);
    void Release();
    int GetTexture() const { return m_texture; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

private:
    CGuiManager* m_manager = nullptr;
    int m_texture = -1;
    int m_width = 0;
    int m_height = 0;
};

class CGuiStaticImage : public CGuiControl
{
public:
    explicit CGuiStaticImage(const SGuiStaticImageDesc& desc);

    int GetType() const override { return GUI_TYPE_STATIC_IMAGE; }
    bool Initialise() override;
    bool Draw(float z) override;

    // Shows another image file; false (and no picture) when it does not load.
    bool SetImage(const char* file);
    int GetTexture() const { return m_image.GetTexture(); }

private:
    std::string m_file;
    float m_uvs[4];
    bool m_alphaTest;
    bool m_alphaBlend;
    CGuiImageTexture m_image;
};

class CGuiImageButton : public CGuiPushControl
{
public:
    explicit CGuiImageButton(const SGuiImageButtonDesc& desc);

    int GetType() const override { return GUI_TYPE_IMAGE_BUTTON; }
    bool Initialise() override;
    bool PointerClick(const SGuiPoint& point) override;
    bool Draw(float z) override;

    int GetTexture() const { return m_image.GetTexture(); }

private:
    std::string m_file;
    float m_uvs[4];
    bool m_alphaTest;
    bool m_alphaBlend;
    bool m_bordered;
    CGuiImageTexture m_image;
};
