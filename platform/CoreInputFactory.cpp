#include "platform/CoreInputFactory.h"

#include "platform/CoreInputDI.h"

#include <new>

CCoreInput* CreateInputDevice(bool forceDi5, void* instance, const char** failureMessage)
{
    CCoreInput* input = nullptr;
    if (!forceDi5)
    {
        input = new (std::nothrow) CCoreInputDI8();
        if (input && !input->Init(instance))
        {
            delete input;
            input = nullptr;
        }
    }
    if (input)
        return input;

    input = new (std::nothrow) CCoreInputDI5();
    if (!input)
    {
        if (failureMessage)
            *failureMessage = "Error during startup - code 0x80000006";
        return nullptr;
    }
    if (!input->Init(instance))
    {
        delete input;
        if (failureMessage)
            *failureMessage = "Error during startup - Neither DirectInput 5 or 8 could be initialised";
        return nullptr;
    }
    return input;
}
