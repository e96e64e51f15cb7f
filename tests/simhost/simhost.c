/* The simulated host: an executable at the host game's image base whose zero-filled
 * section covers the host's address range, so that the plug-ins' fixed-address reads,
 * writes and calls land in memory the tests control. It loads a test DLL (argv[1]) and
 * hands it the remaining arguments. Kept tiny so that its own code ends below 0x42B000. */
#include <stdio.h>
#include <windows.h>

__attribute__((aligned(4096))) unsigned char HostImage[0xA00000 - 0x400000];

int main(int argc, char** argv) {
    DWORD old;
    int (*runTests)(int, char**);
    HMODULE tests;
    if (argc < 2) {
        fprintf(stderr, "usage: simhost TESTS.dll [arguments]\n");
        return 2;
    }
    if ((unsigned)(size_t)HostImage > 0x42B000u ||
        (unsigned)(size_t)(HostImage + sizeof HostImage) < 0xA00000u) {
        fprintf(stderr, "simhost: host range not covered (%p)\n", (void*)HostImage);
        return 2;
    }
    /* Host routines are played by code the tests place here. */
    VirtualProtect(HostImage, sizeof HostImage, PAGE_EXECUTE_READWRITE, &old);
    tests = LoadLibraryA(argv[1]);
    if (tests == NULL) {
        fprintf(stderr, "simhost: cannot load %s (error %lu)\n", argv[1], GetLastError());
        return 2;
    }
    runTests = (int (*)(int, char**))GetProcAddress(tests, "RunTests");
    if (runTests == NULL) {
        fprintf(stderr, "simhost: %s has no RunTests\n", argv[1]);
        return 2;
    }
    return runTests(argc - 1, argv + 1);
}
