// Loads TlsProbe, gives 64 threads their own block of its thread-local storage and exits while
// they still run, so that the leak check at exit walks every block. Exits 0 when that check
// copes with them; under an unsuitable ASAN_OPTIONS the check itself dies and the exit status
// says so.
#include <dlfcn.h>
#include <cstdio>
#include <latch>
#include <thread>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    void* library = dlopen(argv[1], RTLD_NOW);
    if (!library) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    auto touch = reinterpret_cast<void* (*)()>(dlsym(library, "touchProbe"));
    if (!touch) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    constexpr int threads = 64;
    std::latch touched(threads + 1);
    static std::latch never(1);
    for (int i = 0; i < threads; ++i)
        std::thread([&] {
            touch();
            touched.count_down();
            never.wait();
        }).detach();
    touched.arrive_and_wait();
    return touch() ? 0 : 1;
}
