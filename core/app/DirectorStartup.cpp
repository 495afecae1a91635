#include "core/app/DirectorStartup.h"

#include "core/app/Application.h"
#include "frontend/GameFlow.h"
#include "frontend/SequenceDirector.h"
#include "world/Game.h"

#include <memory>

namespace
{
std::unique_ptr<CSequenceDirector> s_director;
} // namespace

EStepResult StartDirector()
{
    CGame* game = GetGame();
    CGameFlow* flow = game ? dynamic_cast<CGameFlow*>(&game->GetGameFlow()) : nullptr;
    if (!flow)
        return FailStartup("Error during startup - Failed to create the sequence director");
    s_director = std::make_unique<CSequenceDirector>(*game, *flow);
    s_director->Install();
    s_director->PreloadChatPages();
    // The logo; one that is missing or refused simply does not play.
    s_director->PlaySequence(SEQUENCE_LOGO, true, -1);
    return EStepResult::Continue;
}

void StopDirector(ETeardownReason)
{
    s_director.reset();
}
