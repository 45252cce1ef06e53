#include "plugin/vstclass.h"

// Until the tone engine exists the plug-in passes its input through.

void VSTCLASS::ResetEngine()
{
    LockGuard guard(lock);
}

void VSTCLASS::ParameterChanged(int)
{
    LockGuard guard(lock);
}

void VSTCLASS::RenderBlock(double** inputs, double** outputs, int frames)
{
    IPlugBase::RenderBlock(inputs, outputs, frames);
}
