#pragma once
// The gravity beam: while triggered its beam effect runs ahead of the ship, and
// once a second (while that effect runs) three circles along the beam find the
// asteroids it takes hold of, at most 10 at a time. Collectables are drawn in and
// taken into the cargo hold when they come within 20 units of the hull; moving
// rocks are slowed. Every ship has a built-in beam besides any fitted one.

#include "core/Vector2D.h"
#include "ships/ShipComponent.h"
#include "ships/ShipSound.h"

#include <cstdint>

class CGravityBeamComponent : public CShipComponent
{
public:
    static constexpr int HELD_MAX = 10;
    static constexpr uint32_t SCAN_MS = 1000;
    static constexpr float PULL = 250.0f;
    static constexpr float TAKE_DISTANCE = 20.0f;

    // A fitted beam belongs to its pod; the built-in one has pod -1.
    CGravityBeamComponent(const CShipComponentDef& def, CShipRuntime& runtime, int32_t pod);

    void PreUpdate() override { m_trigger = false; }
    // The beam's frame: it runs while triggered and stops when not. Its work (the
    // scan and the pull) is done once a frame however often it is updated.
    void Update() override;
    void SetTrigger(bool on) override { m_trigger = on; }
    bool IsTriggered() const override { return m_trigger; }

    void SetLaunchOffset(const CVector2D& offset) { m_launchOffset = offset; }
    // The handle held in an entry, NO_OBJECT when free.
    int32_t GetHeld(int entry) const;
    // A held entry for the object: its own, else the first free one, else the
    // first entry is handed over to it. -1 when the handle is none.
    int TakeEntry(int32_t handle);
    CShipEffect& GetBeamEffect() { return m_beamEffect; }
    const CShipSound& GetSuckSound() const { return m_suckSound; }

    // Takes hold of what lies in the three circles along a beam of this length.
    void Scan(float length);
    // Draws the held objects in and takes those close enough into the hold.
    void DrawIn();

private:
    struct SHeld
    {
        CShipEffect effect;
        int32_t handle = -1;
        bool touched = false;
    };

    void Release(SHeld& held);
    void ReleaseAll();
    void Handle(class CGameObject& object);
    bool MarkHeld(class CGameObject& object) const;

    CShipEffect m_beamEffect;
    SHeld m_held[HELD_MAX];
    CShipSound m_suckSound;
    CVector2D m_launchOffset;
    uint32_t m_lastScan = 0;
    bool m_scanned = false;      // the first scan has been made
    uint32_t m_workedFrame = 0;  // the frame whose work is done (frame + 1)
    bool m_trigger = false;
};
