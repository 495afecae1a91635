#include "ships/EngineFlames.h"

#include "ships/ComponentDef.h"
#include "ships/ShipPlacement.h"
#include "ships/ShipRuntime.h"
#include "world/GameObject.h"

namespace
{
const SReverseJet JETS_SMALL[] = {{2, -6, -20}, {2, 6, 20}};
const SReverseJet JETS_QUICK[] = {{2, -6, -30}, {2, 6, 30}};
const SReverseJet JETS_HEAVY[] = {{-10, -14, -30}, {-10, 14, 30}, {8, -3, -20}, {8, 3, 20}};
const SReverseJet JETS_LARGE[] = {{-6, -20, 0}, {-6, 20, 0}, {8, -4, -20}, {8, 4, 20}};

// Starts a stopped effect, or lets one that stopped emitting emit again.
void Run(CShipEffect& effect)
{
    if (!effect.IsRunning())
        effect.Start();
    else if (effect.IsEmittingStopped())
        effect.ResumeEmitting();
}
} // namespace

const SReverseJet* CEngineFlames::GetReverseJets(int32_t hullIndex, int& count)
{
    switch (hullIndex)
    {
    case 1:
        count = 2;
        return JETS_SMALL;
    case 2:
        count = 2;
        return JETS_QUICK;
    case 3:
        count = 4;
        return JETS_HEAVY;
    case 4:
        count = 4;
        return JETS_LARGE;
    default:
        count = 0;
        return nullptr;
    }
}

void CEngineFlames::SetUp(const CGameObject& ship, const CEngineDef* engine, int32_t hullIndex, bool escapePod)
{
    m_engine = engine;
    m_hullIndex = hullIndex;
    m_scale = 1.0f;
    m_flickerTime = 0;
    m_flickerPhase = false;
    m_boostSound.Set(BOOST_SOUND, BOOST_VOLUME, false, false);
    m_jetCount = 0;
    m_showSprite = false;
    if (!engine)
        return;
    if (escapePod)
    {
        m_mainFlame.Spawn(POD_FLAME, &ship);
        return;
    }
    m_mainFlame.Spawn(engine->m_engineEffect, &ship);
    GetReverseJets(hullIndex, m_jetCount);
    for (CShipEffect& jet : m_jets)
        jet.Spawn(REVERSE_JET, &ship);
    if (engine->m_engineSprite && m_flameRef.Load(*engine->m_engineSprite, true))
    {
        m_flameSprite.Init(m_flameRef, FLAME_PLANE);
        m_flameSprite.Show();
        m_showSprite = true;
    }
}

void CEngineFlames::StopJets()
{
    for (int i = 0; i < m_jetCount; ++i)
        if (m_jets[i].IsRunning())
            m_jets[i].StopEmitting();
}

void CEngineFlames::StopAll()
{
    m_mainFlame.StopEmitting();
    m_flameSprite.Hide();
    StopJets();
}

CVector2D CEngineFlames::GetFlameSpriteOffset(const CVector2D& engineOffset) const
{
    CVector2D offset = m_engine ? m_engine->m_engineSpriteOffset + engineOffset : engineOffset;
    // The sprite is drawn round its middle: it is pulled back so its front edge
    // stays at the engine however long the flame is.
    offset.x -= static_cast<float>(m_flameRef.GetFrameWidth()) * m_scale * 0.5f - 1.0f;
    return offset;
}

void CEngineFlames::Update(const CGameObject& ship, const SShipControls& controls, const CVector2D& engineOffset)
{
    if (!m_engine)
        return;
    if (controls.boost && !m_boostPlayed)
        m_boostSound.Play(ship.GetPosition());
    m_boostPlayed = controls.boost;
    if (controls.thrust)
        UpdateThrust(ship, controls.boost, engineOffset);
    else if (controls.reverse)
        UpdateReverse(ship);
    else
        StopAll();
}

void CEngineFlames::UpdateReverse(const CGameObject& ship)
{
    m_mainFlame.StopEmitting();
    m_flameSprite.Hide();
    int count = 0;
    const SReverseJet* jets = GetReverseJets(m_hullIndex, count);
    for (int i = 0; i < m_jetCount && i < count; ++i)
    {
        m_jets[i].Place(ToWorldPoint(ship, CVector2D(jets[i].x, jets[i].y)), ship.GetBody().angle + jets[i].angle,
                        VelocityPerSecond(ship));
        Run(m_jets[i]);
    }
}

void CEngineFlames::UpdateThrust(const CGameObject& ship, bool boosting, const CVector2D& engineOffset)
{
    StopJets();
    const uint32_t now = GetShipClock();
    if (now - m_flickerTime >= FLICKER_MS)
    {
        m_flickerTime = now;
        m_flickerPhase = !m_flickerPhase;
    }
    const float small = boosting ? 0.75f : 0.5f;
    m_scale = m_flickerPhase ? small : small * 2.0f;

    const float angle = ship.GetBody().angle;
    m_mainFlame.Place(ToWorldPoint(ship, m_engine->m_engineEffectOffset + engineOffset), angle + 180.0f,
                      VelocityPerSecond(ship));
    Run(m_mainFlame);

    m_flameSprite.SetPosition(ToWorldPoint(ship, GetFlameSpriteOffset(engineOffset)));
    m_flameSprite.SetScale(m_scale, m_scale);
    m_flameSprite.SetAngle(angle);
    if (m_showSprite)
        m_flameSprite.Show();
}
