// A small Windows program for the tests under Wine, built with mingw-w64
// together with win32_platform.cpp, so it opens files exactly as
// zorvandrel.exe does.
//   probe open NAME            create/truncate NAME; prints the system error (0: none)
//   probe append NAME          open NAME for appending; prints the system error
//   probe hold NAME MARKER     hold NAME open for appending until standard
//                              input ends; creates MARKER once NAME is held
//   probe view NAME MARKER     the same, but open for reading only and
//                              sharing everything (as a viewer would)
//   probe terminal FILE        writes two digits to FILE: 1 if standard
//                              output counts as a console, else 0; then 1 if
//                              the console is the program's own, else 0
//   probe feed PROGRAM         run PROGRAM with its standard input on a pipe
//                              fed from ours; exits with its exit code
//   probe hide NAME            make NAME a hidden system file; prints the
//                              system error (0: none)
//   probe version PROGRAM      prints PROGRAM's version information as
//                              Explorer reads it, and the sizes of the images
//                              in its icon
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "console/platform.h"

namespace {

using zv::console::system_platform;

void drain(zv::console::Handle from, HANDLE to) {
  char buffer[256];
  for (;;) {
    const zv::console::IoResult r = system_platform().read(from, buffer, sizeof buffer);
    if (r.error != 0 || r.bytes == 0) return;
    DWORD put = 0;
    if (to != nullptr) WriteFile(to, buffer, static_cast<DWORD>(r.bytes), &put, nullptr);
  }
}

int feed(const char* program) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  if (!CreatePipe(&read_end, &write_end, &inherit, 0)) return 90;
  SetHandleInformation(write_end, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = read_end;
  si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  std::string command = std::string("\"") + program + "\"";
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
    return 91;
  CloseHandle(read_end);
  drain(system_platform().standard_input(), write_end);
  CloseHandle(write_end);  // the child now reads a broken pipe
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 92;
  GetExitCodeProcess(pi.hProcess, &code);
  return static_cast<int>(code);
}

// The version information through GetFileVersionInfo and VerQueryValue, in
// the language its translation table names; then the first icon group (the
// icon Explorer shows) and each image in it, checked to load as an icon.
int version(const char* program) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(program, &ignored);
  std::string info(size, '\0');
  if (size == 0 || !GetFileVersionInfoA(program, 0, size, info.data())) return 1;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(info.data(), "\\", &value, &length)) return 1;
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  std::printf("version %u.%u.%u.%u\n", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
              HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
  if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", &value, &length) || length < 4) return 1;
  const WORD* language = static_cast<const WORD*>(value);
  for (const char* name : {"ProductName", "ProductVersion", "FileVersion", "FileDescription"}) {
    char path[80];
    std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", language[0], language[1], name);
    if (VerQueryValueA(info.data(), path, &value, &length))
      std::printf("%s %s\n", name, static_cast<char*>(value));
  }

  const HMODULE module = LoadLibraryExA(program, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  LPSTR first = nullptr;
  EnumResourceNamesA(
      module, RT_GROUP_ICON,
      [](HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
        *reinterpret_cast<LPSTR*>(found) = name;
        return FALSE;
      },
      reinterpret_cast<LONG_PTR>(&first));
  const HRSRC group = first != nullptr ? FindResourceA(module, first, RT_GROUP_ICON) : nullptr;
  if (group == nullptr) return 1;
  // The group: three 16-bit words, the last a count, then 14 bytes per image
  // (width, where 0 means 256, ..., and the image's resource number last).
  const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
  std::printf("icon");
  for (WORD k = 0; k < *reinterpret_cast<const WORD*>(bytes + 4); ++k) {
    const BYTE* entry = bytes + 6 + 14 * k;
    const int width = entry[0] == 0 ? 256 : entry[0];
    const HRSRC image =
        FindResourceA(module, MAKEINTRESOURCEA(*reinterpret_cast<const WORD*>(entry + 12)), RT_ICON);
    const HICON icon =
        image == nullptr
            ? nullptr
            : CreateIconFromResourceEx(static_cast<BYTE*>(LockResource(LoadResource(module, image))),
                                       SizeofResource(module, image), TRUE, 0x00030000, width, width, 0);
    std::printf(icon != nullptr ? " %d" : " %d-broken", width);
  }
  std::printf("\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  auto& platform = system_platform();
  const std::string mode = argc > 1 ? argv[1] : "";
  if ((mode == "open" || mode == "append") && argc == 3) {
    const zv::console::OpenResult r =
        mode == "open" ? platform.open_write(argv[2], nullptr) : platform.open_append(argv[2]);
    if (r.error == 0) platform.close(r.handle);
    std::printf("%lu\n", static_cast<unsigned long>(r.error));
    return 0;
  }
  if ((mode == "hold" || mode == "view") && argc == 4) {
    zv::console::OpenResult held;
    if (mode == "hold") {
      held = platform.open_append(argv[2]);
    } else {
      const HANDLE h =
          CreateFileA(argv[2], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      held = {reinterpret_cast<zv::console::Handle>(h), h == INVALID_HANDLE_VALUE ? GetLastError() : 0};
    }
    if (held.error != 0) return 1;
    const zv::console::OpenResult marker = platform.open_write(argv[3], nullptr);
    if (marker.error != 0) return 1;
    platform.close(marker.handle);
    drain(platform.standard_input(), nullptr);
    platform.close(held.handle);
    return 0;
  }
  if (mode == "terminal" && argc == 3) {
    const char answer[] = {platform.is_terminal(platform.standard_output()) ? '1' : '0',
                           platform.console_of_its_own() ? '1' : '0'};
    const zv::console::OpenResult file = platform.open_write(argv[2], nullptr);
    if (file.error != 0) return 1;
    platform.write(file.handle, answer, 2);
    platform.close(file.handle);
    return 0;
  }
  if (mode == "feed" && argc == 3) return feed(argv[2]);
  if (mode == "version" && argc == 3) return version(argv[2]);
  if (mode == "hide" && argc == 3) {
    const bool hidden = SetFileAttributesA(argv[2], FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM) != 0;
    std::printf("%lu\n", hidden ? 0ul : static_cast<unsigned long>(GetLastError()));
    return 0;
  }
  std::fprintf(stderr,
               "usage: probe open|append|hide NAME | hold|view NAME MARKER | terminal FILE | "
               "feed|version PROGRAM\n");
  return 2;
}
