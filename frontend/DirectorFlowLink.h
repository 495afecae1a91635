#pragma once
// What the game flow and its screens need of the sequence director: its full-screen
// and backdrop sequences, the tutorial's step and the progress stage, and its chat
// pages. The director is built later in this layer and installs itself on the game
// flow; until then no sequence ever plays, and the stage and the step are kept as
// they are set, so a new game and the tutorial choice still lead where they should.

#include "frontend/DirectorBlock.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The sequences the front end plays, by their index in the director's table.
enum ESequence : int
{
    SEQUENCE_LOGO = 0,
    SEQUENCE_INTRO = 2,
    SEQUENCE_BRIDGE = 10,
    SEQUENCE_MAIN_START = 11,
    SEQUENCE_HALL_OF_FAME = 12,
    SEQUENCE_SAVE_LOAD = 21,
    SEQUENCE_QUICK_ACTION_END = 23,
    SEQUENCE_CAMPAIGN_END = 24,
    SEQUENCE_SURVIVAL_END = 25,
    SEQUENCE_STATION_DESTROYED = 26,
};

// The progress stage: 0 none, 2 the tutorial, 3 campaign chats, 4 the campaign is over.
enum EProgressStage : int
{
    STAGE_NONE = 0,
    STAGE_TUTORIAL = 2,
    STAGE_CAMPAIGN = 3,
    STAGE_CAMPAIGN_OVER = 4,
};

class CDirectorFlowLink
{
public:
    static constexpr int LAST_FRAME = 9999;

    virtual ~CDirectorFlowLink() = default;

    // Each frame, from the game flow's update: the playing sequence, the tutorial
    // and the chats.
    virtual void Update() {}
    // Plays a sequence from the start (startFrame -1) or shows one of its frames as
    // a still picture (LAST_FRAME: its last); false while another plays or when it
    // cannot be played.
    virtual bool PlaySequence(int /*index*/, bool /*shiftKeys*/, int /*startFrame*/) { return false; }
    virtual void StopSequence() {}
    virtual bool IsSequencePlaying() const { return false; }
    // The playing sequence's frame number, -1 when none plays.
    virtual int GetSequenceFrame() const { return -1; }
    // Between the sprite bank's drawing and the game flow's: the playing sequence.
    virtual void Draw() {}
    // The hint line of the tutorial, drawn with the game flow's texts.
    virtual void DrawHintLine() {}

    virtual int GetProgressStage() const { return m_stage; }
    virtual void SetProgressStage(int stage) { m_stage = stage; }
    virtual int GetTutorialStep() const { return m_step; }
    virtual void SetTutorialStep(int step) { m_step = step; }
    // A new game: the played flags, the stage, the step and the chats start afresh.
    virtual void ResetForNewGame()
    {
        m_stage = STAGE_NONE;
        m_step = -1;
    }
    virtual void ClearTutorialState() {}
    // A run ends: chat boxes and text pages go, the stage is 0.
    virtual void ClearAll() { m_stage = STAGE_NONE; }
    // The five bosses may come.
    virtual void SetBossGoFlags() {}
    virtual bool HasChatPage() const { return false; }
    virtual void StartChatPage(int /*page*/) {}

    // The director's block of a save game (SDirectorBlock::SIZE bytes, appended to
    // out), and reading one back: false, and nothing changed, for a block that
    // ReadDirectorBlock refuses. A loaded stage 0 is the campaign's (3); the
    // tutorial's step never carries over (-1).
    virtual void WriteState(std::vector<uint8_t>& out) const
    {
        SDirectorBlock block;
        block.stage = m_stage;
        WriteDirectorBlock(block, out);
    }
    virtual bool ReadState(const uint8_t* data, size_t size)
    {
        SDirectorBlock block;
        if (!ReadDirectorBlock(data, size, block))
            return false;
        m_stage = block.stage == STAGE_NONE ? STAGE_CAMPAIGN : block.stage;
        m_step = -1;
        return true;
    }

private:
    int m_stage = STAGE_NONE;
    int m_step = -1;
};
