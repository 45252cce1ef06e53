#include "host_text.h"

std::string AsHostText(const std::string& stored)
{
    return stored;
}
