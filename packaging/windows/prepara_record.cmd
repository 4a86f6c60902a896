@echo off
rem Makes FOLDER, the record folder that every user of the machine shares,
rem with its access lists; with "registro", also the teacher's register.
rem Both installers run it as an administrator. Files already there are
rem kept: a reinstall or an upgrade never empties the record or the register.
rem An access list that could not be set leaves the folder closed to the
rem pupils or open to anyone: each one, like any file that could not be
rem made, is written to LOG and the status is 2.
rem   prepara_record.cmd FOLDER LOG [registro]
setlocal
set "data=%~1"
set "log=%~2"
set failed=
if exist "%log%" del "%log%"
if not exist "%data%\" mkdir "%data%"
set "what=mkdir "%data%""
if not exist "%data%\" call :failed
for %%f in (frsosem.txt frsosem1.txt .frsosem.journal frsosem.lck) do call :make_empty "%data%\%%f"

rem The well-known groups by their identifiers, whatever the system's language
rem calls them ("Utenti" on an Italian Windows): the system, the
rem administrators, the users. The pupils may read and write the record files
rem but neither add nor remove one, so the game rewrites them in place,
rem protected by its journal and the lock it takes on frsosem.lck, which it
rem only locks and reading allows.
call :grant "%data%" /inheritance:r /grant:r "*S-1-5-18:(OI)(CI)F" "*S-1-5-32-544:(OI)(CI)F" "*S-1-5-32-545:(RX)"
call :grant "%data%\frsosem.txt" "%data%\frsosem1.txt" "%data%\.frsosem.journal" /grant:r "*S-1-5-32-545:(R,W)"
call :grant "%data%\frsosem.lck" /grant:r "*S-1-5-32-545:(R)"

rem The pupils' games may only add lines to the register (and see its size,
rem to write the header of an empty one): they can neither read it,
rem overwrite nor delete it.
if /i not "%~3"=="registro" goto done
call :make_empty "%data%\registro.csv"
call :grant "%data%\registro.csv" /inheritance:r /grant:r "*S-1-5-18:F" "*S-1-5-32-544:F" "*S-1-5-32-545:(RA,AD,S)"

:done
if defined failed exit /b 2
exit /b 0

:make_empty
if not exist "%~1" copy /y nul "%~1" >nul
set "what=copy nul "%~1""
if not exist "%~1" call :failed
exit /b 0

rem Runs icacls with the arguments given; a failure goes to the log with
rem icacls's status (9009 when it could not start).
:grant
icacls %*
set "status=%errorlevel%"
set "what=icacls %*: %status%"
if not "%status%"=="0" call :failed
exit /b 0

:failed
if not defined failed >"%log%" echo Non riuscito:
set failed=1
>>"%log%" echo %what%
exit /b 0
