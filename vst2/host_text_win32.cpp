#include "vst2/host_text.h"

#include "core/bounded_string.h"

// Windows hosts read and write the 8-bit texts of the code page as they are.

void ProgramNameToHost(char* field, std::size_t fieldSize, const char* name)
{
    CopyText(field, fieldSize, name);
}

void ProgramNameFromHost(char* name, std::size_t nameSize, const char* hostText)
{
    CopyText(name, nameSize, hostText);
}
