#pragma once
// The program's one channel for messages and its registry of named commands and
// typed variables. The last 13 lines are kept in a ring; a line typed into the
// console is run as a command or a variable request.

#include <cstdint>
#include <string>
#include <vector>

class CConsoleRegistrations;

// A command receives its user data and the text after its name.
typedef void (*ConsoleFunction)(void* userData, const char* arguments);

enum EConsoleVariableType
{
    CONSOLE_VAR_BOOL = 1,  // bool (one byte)
    CONSOLE_VAR_INT = 2,   // int32_t
    CONSOLE_VAR_UINT = 3,  // uint32_t
    CONSOLE_VAR_FLOAT = 4, // float
};

struct SConsoleFunction
{
    void* userData;
    std::string name;
    ConsoleFunction callback;
    const void* owner; // who registered it (null: nobody; it lives as long as the console)
};

struct SConsoleVariable
{
    std::string name;
    void* pointer;
    int type;
    const void* owner;
};

class CConsole
{
public:
    static constexpr int LINE_COUNT = 13;
    static constexpr int LINE_SIZE = 256;       // characters per line, terminator included
    static constexpr int INPUT_SIZE = 80;       // typed characters, terminator included
    // The key that opens and closes the console: the one left of "1" that carries the
    // backquote and tilde, by its keyboard scan code, so it is the same key on every
    // layout. The backquote is never typed into the input line.
    static constexpr uint32_t TOGGLE_KEY_CODE = 0x29;

    CConsole();
    virtual ~CConsole();
    CConsole(const CConsole&) = delete;
    CConsole& operator=(const CConsole&) = delete;

    // A command or variable that reaches into an object (a variable pointing at its
    // member, a command whose user data is the object) has an owner that takes it out
    // again before the object goes, so the console never reaches into freed memory: the
    // object registers through a CConsoleRegistrations member, which is the owner.
    // False when the name is null or empty, the callback is null, or memory runs out.
    virtual bool RegisterFunction(const char* name, ConsoleFunction callback, void* userData,
                                  const void* owner = nullptr);
    // False when the name is null or empty or the pointer is null.
    virtual bool RegisterVariable(const char* name, void* pointer, int type, const void* owner = nullptr);
    // Removes every command and variable that `owner` registered; how many went (a null
    // owner removes nothing).
    int UnregisterOwner(const void* owner);
    // Formats into the next line of the ring (longer text is cut to 255 characters);
    // when the ring is full the oldest line gives way.
    virtual void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // A typed character; only while the console is open. Printable characters extend
    // the input line, 8 removes the last one, 13 runs the line.
    void KeyChar(int character);
    // Runs one typed line as if it had been entered (the line is echoed first).
    void ExecuteLine(const char* line);

    bool IsOpen() const { return m_open; }
    void SetOpen(bool open) { m_open = open; }
    // A key went down: the console key opens or closes the console and is used up
    // (true); any other key is left to the game.
    bool OnKeyPressed(uint32_t keyCode);

    // Copies every new line to standard error too (for runs without a display).
    void SetEcho(bool echo) { m_echo = echo; }

    // The held lines, 0 the oldest.
    int GetLineCount() const { return m_lineCount; }
    const char* GetLine(int index) const;
    const char* GetInputLine() const { return m_input; }

    const std::vector<SConsoleFunction>& GetFunctions() const { return m_functions; }
    const std::vector<SConsoleVariable>& GetVariables() const { return m_variables; }

    // The GUI window that shows the console (-1 while none exists).
    int GetWindowHandle() const { return m_windowHandle; }
    void SetWindowHandle(int handle) { m_windowHandle = handle; }

private:
    friend class CConsoleRegistrations;
    bool AttachRegistrations(CConsoleRegistrations* holder);
    void DetachRegistrations(CConsoleRegistrations* holder);

    void Interpret(const char* line);
    void SetVariable(const char* arguments);
    void ShowVariable(const char* arguments);
    void ListVariables();
    void ListFunctions();
    void RunCommand(const char* line);
    const SConsoleVariable* FindVariable(const std::string& typedName) const;
    void AddLine(const char* text);

    std::vector<SConsoleFunction> m_functions;
    std::vector<SConsoleVariable> m_variables;
    std::vector<CConsoleRegistrations*> m_holders; // forgotten by the destructor
    char m_lines[LINE_COUNT][LINE_SIZE] = {};
    int m_oldest = 0;
    int m_lineCount = 0;
    char m_input[INPUT_SIZE] = {};
    int m_inputLength = 0;
    bool m_open = false;
    bool m_echo = false;
    int m_windowHandle = -1;
};

extern CConsole* g_console;
