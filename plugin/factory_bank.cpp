#include "plugin/vstclass.h"

void VSTCLASS::MakeFactoryPrograms()
{
    MakeDefaultPrograms("---- default ----", 1);
}
