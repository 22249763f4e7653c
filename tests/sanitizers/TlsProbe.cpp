// A library loaded at run time whose thread-local block is small enough that, across a few dozen
// threads, some block starts 16 bytes into a page.
thread_local char probeBlock[100];

extern "C" __attribute__((visibility("default"))) void* touchProbe()
{
    probeBlock[0] = 1;
    return probeBlock;
}
