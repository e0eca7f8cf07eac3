; The NSIS peer: the same job as Setup.exe, written as an NSIS script. Silent, no
; pages, no window: waits one second, then runs the programs in Lib one after another,
; waiting for each. makensis is run with -DOUTFILE=<path of the .exe to write>.
!ifndef OUTFILE
  !define OUTFILE "nsis_peer.exe"
!endif

Name "Kalvo"
OutFile "${OUTFILE}"
SilentInstall silent
RequestExecutionLevel user

Section
  ; ExecWait starts each program with $OUTDIR as its current folder.
  SetOutPath "$EXEDIR\Lib"
  Sleep 1000
  ExecWait '"$EXEDIR\Lib\mdac_typ.exe"'
  ExecWait '"$EXEDIR\Lib\dotnetfx.exe"'
  ExecWait '"$EXEDIR\Lib\langpack.exe"'
  ExecWait '"$EXEDIR\Lib\KalvoDemo.exe"'
SectionEnd
