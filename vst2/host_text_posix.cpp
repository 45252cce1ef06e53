#include "vst2/host_text.h"

#include "core/windows1252.h"

// Linux hosts read and write texts as UTF-8.

void ProgramNameToHost(char* field, std::size_t fieldSize, const char* name)
{
    Windows1252ToUtf8(field, fieldSize, name);
}

void ProgramNameFromHost(char* name, std::size_t nameSize, const char* hostText)
{
    Utf8ToWindows1252(name, nameSize, hostText, kHostTextLimit);
}
