#pragma once
// The effects that sprites, bodies and objects asked for, in order, instead of
// starting them; installed as the effect requests while it lives.

#include "core/Vector2D.h"
#include "presentation/EffectRequests.h"

#include <cstdint>
#include <string>
#include <vector>

class CRecordedEffects : public CEffectRequests
{
public:
    struct SRequest
    {
        std::string name;
        int32_t owner;
        CVector2D position;
        CVector2D velocity;
    };

    CRecordedEffects() { InstallEffectRequests(this); }
    ~CRecordedEffects() override { InstallEffectRequests(nullptr); }
    CRecordedEffects(const CRecordedEffects&) = delete;
    CRecordedEffects& operator=(const CRecordedEffects&) = delete;

    void StartEffect(const char* name, int32_t ownerHandle, const CVector2D& position,
                     const CVector2D& velocity) override
    {
        m_requests.push_back({name, ownerHandle, position, velocity});
    }
    // How many requests named so.
    size_t Count(const std::string& name) const
    {
        size_t count = 0;
        for (const SRequest& request : m_requests)
            count += request.name == name ? 1 : 0;
        return count;
    }

    std::vector<SRequest> m_requests;
};
