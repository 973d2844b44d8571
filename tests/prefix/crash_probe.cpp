// Writes through a null pointer, or raises the exception code given as its
// argument: a program that crashes.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc > 1)
        RaiseException(static_cast<DWORD>(std::strtoul(argv[1], nullptr, 16)), EXCEPTION_NONCONTINUABLE, 0, nullptr);
    volatile int* nowhere = nullptr;
    *nowhere = 1;
    return 0;
}
