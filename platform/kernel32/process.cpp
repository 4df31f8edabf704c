// The calling thread's error code, the process's identity, time and arithmetic helpers.
#include <windows.h>

#include "host.h"
#include "text.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;

// The pseudo-handle GetCurrentProcess returns on Windows.
HANDLE const kCurrentProcess = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1));

} // namespace

DWORD WINAPI GetLastError(void)
{
    return t_lastError;
}

VOID WINAPI SetLastError(DWORD dwErrCode)
{
    t_lastError = dwErrCode;
}

HANDLE WINAPI GetCurrentProcess(void)
{
    return kCurrentProcess;
}

DWORD WINAPI GetCurrentProcessId(void)
{
    return static_cast<DWORD>(getpid());
}

DWORD WINAPI GetCurrentThreadId(void)
{
    return static_cast<DWORD>(gettid());
}

DWORD WINAPI GetTickCount(void)
{
    return platform::host::Now();
}

VOID WINAPI Sleep(DWORD dwMilliseconds)
{
    platform::host::Sleep(dwMilliseconds);
}

int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator)
{
    if (nDenominator == 0) {
        return -1;
    }
    // Rounds half away from zero; a result beyond 32 bits is -1, as on Windows.
    const long long product = static_cast<long long>(nNumber) * nNumerator;
    long long denominator = nDenominator;
    long long numerator = product;
    if (denominator < 0) {
        denominator = -denominator;
        numerator = -numerator;
    }
    const long long half = denominator / 2;
    const long long result =
        numerator >= 0 ? (numerator + half) / denominator : (numerator - half) / denominator;
    if (result > INT32_MAX || result < INT32_MIN) {
        return -1;
    }
    return static_cast<int>(result);
}

VOID WINAPI OutputDebugStringA(LPCSTR lpOutputString)
{
    if (lpOutputString != nullptr) {
        std::fputs(lpOutputString, stderr);
    }
}

VOID WINAPI OutputDebugStringW(LPCWSTR lpOutputString)
{
    if (lpOutputString == nullptr) {
        return;
    }
    std::fputs(platform::text::ToUtf8(platform::text::View(lpOutputString)).c_str(), stderr);
}
