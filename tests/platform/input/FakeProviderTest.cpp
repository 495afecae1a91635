// The format fallback chain and start-up failures, with devices that refuse on purpose.

#include "platform/CoreInputDI.h"
#include "platform/CoreInputFactory.h"

#include <gtest/gtest.h>
#include <cstring>
#include <set>

namespace
{
// A controller with x, y and two buttons that refuses the data formats of the sizes
// it is told to refuse.
class CFakeJoystick : public CDiDevice
{
public:
    explicit CFakeJoystick(std::set<uint32_t> refusedSizes) : m_refused(std::move(refusedSizes))
    {
        m_objects = {{EDiObjectKind::XAxis, 0, "x"}, {EDiObjectKind::YAxis, 0, "y"},
                     {EDiObjectKind::Button, 0, "b0"}, {EDiObjectKind::Button, 1, "b1"}};
    }
    EDiDeviceType GetType() const override { return EDiDeviceType::Joystick; }
    std::string GetProductName() const override { return ""; }
    const std::vector<SDiObjectInfo>& GetObjects() const override { return m_objects; }
    EDiResult SetDataFormat(const SDiDataFormat& format) override
    {
        if (m_refused.count(format.dataSize))
            return EDiResult::InvalidParam;
        m_size = format.dataSize;
        return CDiDevice::SetDataFormat(format);
    }
    EDiResult Acquire() override { return EDiResult::Ok; }
    EDiResult Poll() override { return EDiResult::Ok; }
    EDiResult GetDeviceState(uint32_t size, void* buffer) override
    {
        if (size != m_size)
            return EDiResult::InvalidParam;
        std::fill_n(static_cast<uint8_t*>(buffer), size, 0);
        // x = 100 wherever this format keeps it; the first button pressed.
        for (size_t i = 0; i < m_format.objects.size(); ++i)
        {
            const SDiObjectFormat& object = m_format.objects[i];
            if (m_boundObjects[i] == 0)
            {
                int32_t x = 100;
                std::memcpy(static_cast<uint8_t*>(buffer) + object.offset, &x, 4);
            }
            if (m_boundObjects[i] == 2)
                static_cast<uint8_t*>(buffer)[object.offset] = 0x80;
        }
        return EDiResult::Ok;
    }
    EDiResult GetAxisRange(EDiObjectKind, int, int32_t& minimum, int32_t& maximum) const override
    {
        minimum = 0;
        maximum = 1000;
        return EDiResult::Ok;
    }

    uint32_t m_size = 0;

private:
    std::vector<SDiObjectInfo> m_objects;
    std::set<uint32_t> m_refused;
};

class CFakeProvider : public CDiProvider
{
public:
    bool CreateDirectInput(uint32_t version) override { return !m_failedVersions.count(version); }
    EDiResult GetDeviceStatus(EDiDeviceType) override { return EDiResult::NotAttached; }
    std::unique_ptr<CDiDevice> CreateSystemDevice(EDiDeviceType) override { return nullptr; }
    bool EnumJoysticks(std::vector<int>& ids) override
    {
        ids = {7};
        return m_canList;
    }
    std::unique_ptr<CDiDevice> CreateJoystick(int) override { return std::make_unique<CFakeJoystick>(m_refused); }

    std::set<uint32_t> m_failedVersions;
    std::set<uint32_t> m_refused;
    bool m_canList = true;
};
} // namespace

TEST(InputFormats, FallbackChainFromOwnToStandardToExtended)
{
    struct SCase
    {
        std::set<uint32_t> refused;
        int expectedJoysticks;
        int expectedPairs;
    } cases[] = {
        {{}, 1, 1},         // own layout: one pair of real axes
        {{60}, 1, 4},       // standard layout: four fixed pairs
        {{60, 80}, 1, 4},   // extended layout
        {{60, 80, 272}, 0, 0},
    };
    for (const SCase& c : cases)
    {
        CFakeProvider provider;
        provider.m_refused = c.refused;
        CCoreInputDI8 input(&provider);
        ASSERT_TRUE(input.Init(nullptr));
        EXPECT_FALSE(input.IsKeyboardPresent());
        ASSERT_EQ(input.GetJoystickCount(), c.expectedJoysticks) << c.refused.size() << " refused";
        if (!c.expectedJoysticks)
            continue;
        input.Poll();
        SJoystickState state {};
        ASSERT_TRUE(input.GetJoystickState(0, &state));
        EXPECT_EQ(state.numAxisPairs, c.expectedPairs);
        EXPECT_EQ(state.numButtons, 2);
        EXPECT_EQ(state.axes[0][0], 100);
        EXPECT_EQ(state.buttons[0], 0x80);
        EXPECT_EQ(state.pov, -1);
        int32_t min1, max1, min2, max2;
        ASSERT_TRUE(input.GetJoystickAxisRange(0, 0, &min1, &max1, &min2, &max2));
        EXPECT_EQ(max1, 1000);
    }
}

TEST(InputFormats, Version5HasNoFallbackAndNamesUnknownDevices)
{
    CFakeProvider provider;
    provider.m_refused = {60};
    CCoreInputDI5 refused(&provider);
    ASSERT_TRUE(refused.Init(nullptr));
    EXPECT_EQ(refused.GetJoystickCount(), 0);

    provider.m_refused = {};
    CCoreInputDI5 input(&provider);
    ASSERT_TRUE(input.Init(nullptr));
    ASSERT_EQ(input.GetJoystickCount(), 1);
}

TEST(InputFormats, EnumerationFailureLeavesNoJoysticks)
{
    CFakeProvider provider;
    provider.m_canList = false;
    CCoreInputDI8 input(&provider);
    EXPECT_TRUE(input.Init(nullptr));
    EXPECT_EQ(input.GetJoystickCount(), 0);
}

TEST(InputStartup, FallsBackToVersion5AndReportsWhenBothFail)
{
    CFakeProvider provider;
    SetSystemDiProvider(&provider);

    const char* message = nullptr;
    provider.m_failedVersions = {0x0800};
    CCoreInput* input = CreateInputDevice(false, nullptr, &message);
    ASSERT_NE(input, nullptr);
    EXPECT_NE(dynamic_cast<CCoreInputDI5*>(input), nullptr);
    delete input;

    provider.m_failedVersions = {};
    input = CreateInputDevice(false, nullptr, &message);
    EXPECT_NE(dynamic_cast<CCoreInputDI8*>(input), nullptr);
    delete input;
    input = CreateInputDevice(true, nullptr, &message);
    EXPECT_NE(dynamic_cast<CCoreInputDI5*>(input), nullptr);
    delete input;

    provider.m_failedVersions = {0x0800, 0x0500};
    EXPECT_EQ(CreateInputDevice(false, nullptr, &message), nullptr);
    EXPECT_STREQ(message, "Error during startup - Neither DirectInput 5 or 8 could be initialised");

    SetSystemDiProvider(nullptr);
}
