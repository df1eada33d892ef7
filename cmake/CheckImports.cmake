# cmake -DOBJDUMP=... -DEXE=... -P CheckImports.cmake
# Fails when the exe imports a DLL that Windows does not ship (the programs
# are delivered as single static executables), or a function that Windows XP
# does not have (they must start there).
set(system_dlls KERNEL32.dll USER32.dll GDI32.dll COMCTL32.dll COMDLG32.dll ADVAPI32.dll
    SHELL32.dll WINSPOOL.DRV VERSION.dll msvcrt.dll)
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot read ${EXE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" names "${dump}")
if(NOT names)
  message(FATAL_ERROR "no imports found in ${EXE}")
endif()
foreach(entry IN LISTS names)
  string(REPLACE "DLL Name: " "" dll "${entry}")
  string(STRIP "${dll}" dll)
  string(TOUPPER "${dll}" upper)
  set(known FALSE)
  foreach(allowed IN LISTS system_dlls)
    string(TOUPPER "${allowed}" allowed)
    if(upper STREQUAL allowed)
      set(known TRUE)
    endif()
  endforeach()
  if(NOT known)
    message(FATAL_ERROR "${EXE} imports ${dll}, which is not part of Windows")
  endif()
  message(STATUS "imports ${dll}")
endforeach()

# Functions of the system DLLs that came after Windows XP and that the
# compiler's runtime or a careless call could bring in.
set(after_xp
    AcquireSRWLockExclusive AcquireSRWLockShared AddDllDirectory ChangeWindowMessageFilter
    CompareStringEx CreateEventExA CreateEventExW CreateMutexExA CreateMutexExW CreateSemaphoreExA
    CreateSemaphoreExW CreateSymbolicLinkA CreateSymbolicLinkW FlsAlloc FlsFree FlsGetValue
    FlsSetValue GetErrorMode GetFileInformationByHandleEx GetFinalPathNameByHandleA
    GetFinalPathNameByHandleW GetLocaleInfoEx GetSystemTimePreciseAsFileTime GetTickCount64
    GetUserDefaultLocaleName InitOnceBeginInitialize InitOnceComplete InitOnceExecuteOnce
    InitializeConditionVariable InitializeCriticalSectionEx InitializeSRWLock
    InterlockedCompareExchange64 K32GetModuleFileNameExA LCMapStringEx LocaleNameToLCID
    QueryFullProcessImageNameA QueryFullProcessImageNameW RegDeleteKeyExA RegDeleteKeyExW
    RegDeleteTreeA RegGetValueA RegGetValueW RegSetKeyValueA RegSetKeyValueW ReleaseSRWLockExclusive
    ReleaseSRWLockShared SHGetKnownFolderPath SetDefaultDllDirectories SetFileInformationByHandle
    SetProcessDPIAware SetThreadErrorMode SleepConditionVariableCS SleepConditionVariableSRW
    TaskDialog TaskDialogIndirect TryAcquireSRWLockExclusive TryAcquireSRWLockShared WaitOnAddress
    WakeAllConditionVariable WakeConditionVariable)
foreach(name IN LISTS after_xp)
  if(dump MATCHES "[ \t]${name}\n")
    message(FATAL_ERROR "${EXE} imports ${name}, which Windows XP does not have")
  endif()
endforeach()
