#include "platform/input/DInputLayer.h"

bool IsDiAxisKind(EDiObjectKind kind)
{
    return kind <= EDiObjectKind::Slider;
}

EDiResult ValidateDiDataFormat(const SDiDataFormat& format, const std::vector<SDiObjectInfo>& objects,
                               std::vector<int>* objectsFound)
{
    if (format.dataSize == 0 || format.dataSize % 4 != 0)
        return EDiResult::InvalidParam;
    std::vector<bool> used(objects.size(), false);
    std::vector<int> found;
    found.reserve(format.objects.size());
    for (const SDiObjectFormat& wanted : format.objects)
    {
        bool wide = IsDiAxisKind(wanted.kind) || wanted.kind == EDiObjectKind::Pov;
        uint32_t width = wide ? 4u : 1u;
        if ((wide && wanted.offset % 4 != 0) || wanted.offset > format.dataSize - width)
            return EDiResult::InvalidParam;
        int match = -1;
        for (size_t i = 0; i < objects.size() && match < 0; ++i)
        {
            if (used[i] || objects[i].kind != wanted.kind)
                continue;
            if (wanted.instance == DI_ANY_INSTANCE || objects[i].instance == wanted.instance)
                match = static_cast<int>(i);
        }
        if (match < 0 && !wanted.optional)
            return EDiResult::InvalidParam;
        if (match >= 0)
            used[static_cast<size_t>(match)] = true;
        found.push_back(match);
    }
    if (objectsFound)
        *objectsFound = std::move(found);
    return EDiResult::Ok;
}

EDiResult CDiDevice::SetCooperativeLevel(void* window, bool foreground)
{
    m_window = window;
    m_foreground = foreground;
    return EDiResult::Ok;
}

EDiResult CDiDevice::SetDataFormat(const SDiDataFormat& format)
{
    if (m_acquired)
        return EDiResult::Acquired;
    std::vector<int> bound;
    EDiResult result = ValidateDiDataFormat(format, GetObjects(), &bound);
    if (result != EDiResult::Ok)
        return result;
    m_format = format;
    m_boundObjects = std::move(bound);
    m_hasFormat = true;
    return EDiResult::Ok;
}

EDiResult CDiDevice::Unacquire()
{
    m_acquired = false;
    return EDiResult::Ok;
}

EDiResult CDiDevice::GetAxisRange(EDiObjectKind, int, int32_t&, int32_t&) const
{
    return EDiResult::InvalidParam;
}
