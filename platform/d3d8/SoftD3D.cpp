// The adapter: what the display offers and which formats the device takes.

#include "platform/d3d8/SoftD3DDevice.h"
#include "platform/d3d8/SoftSdl.h"

#include <algorithm>

SSoftAdapterProfile CSoftD3D::GetDefaultProfile()
{
    SSoftAdapterProfile profile;
    profile.desktop = {800, 600, 60, ESoftFormat::X8R8G8B8};
    // Full screen is shown scaled on the desktop, so every size the game asks for exists.
    for (ESoftFormat format : {ESoftFormat::X8R8G8B8, ESoftFormat::R5G6B5})
    {
        profile.modes.push_back({640, 480, 60, format});
        profile.modes.push_back({800, 600, 60, format});
    }
    profile.textureFormats = {ESoftFormat::A8R8G8B8, ESoftFormat::X8R8G8B8, ESoftFormat::R5G6B5,
                              ESoftFormat::X1R5G5B5, ESoftFormat::A1R5G5B5, ESoftFormat::A4R4G4B4};
    profile.depthFormats = {ESoftFormat::D16, ESoftFormat::D24X8};
    profile.textureStages = 1;
    return profile;
}

CSoftD3D* CSoftD3D::Create()
{
    if (!AcquireSdlVideo())
        return nullptr;
    SSoftAdapterProfile profile = GetDefaultProfile();
    if (!GetSdlDesktopMode(profile.desktop))
    {
        ReleaseSdlVideo();
        return nullptr;
    }
    return new CSoftD3D(profile, true);
}

CSoftD3D* CSoftD3D::Create(const SSoftAdapterProfile& profile)
{
    return new CSoftD3D(profile, false);
}

CSoftD3D::CSoftD3D(const SSoftAdapterProfile& profile, bool ownsVideo)
    : m_profile(profile), m_ownsVideo(ownsVideo)
{
}

CSoftD3D::~CSoftD3D()
{
    if (m_ownsVideo)
        ReleaseSdlVideo();
}

void CSoftD3D::GetAdapterDisplayMode(SSoftDisplayMode& mode) const
{
    mode = m_profile.desktop;
}

uint32_t CSoftD3D::GetAdapterModeCount() const
{
    return static_cast<uint32_t>(m_profile.modes.size());
}

bool CSoftD3D::EnumAdapterModes(uint32_t index, SSoftDisplayMode& mode) const
{
    if (index >= m_profile.modes.size())
        return false;
    mode = m_profile.modes[index];
    return true;
}

bool CSoftD3D::CheckTextureFormat(ESoftFormat format) const
{
    const auto& formats = m_profile.textureFormats;
    return std::find(formats.begin(), formats.end(), format) != formats.end();
}

bool CSoftD3D::CheckDepthStencilFormat(ESoftFormat format) const
{
    const auto& formats = m_profile.depthFormats;
    return std::find(formats.begin(), formats.end(), format) != formats.end();
}

void CSoftD3D::GetDeviceCaps(SSoftCaps& caps) const
{
    caps.maxTextureBlendStages = m_profile.textureStages;
    caps.maxSimultaneousTextures = 1;
    caps.maxTextureWidth = 4096;
    caps.maxTextureHeight = 4096;
}

bool CSoftD3D::CreateDevice(const SSoftPresentParams& params, CSoftD3DDevice** device)
{
    if (device == nullptr)
        return false;
    *device = nullptr;
    CSoftD3DDevice* created = new CSoftD3DDevice(m_profile);
    if (!created->ApplyPresentParams(params))
    {
        created->Release();
        return false;
    }
    *device = created;
    return true;
}
