# Read by cpack before it packs: every package is dated by the commit it is packed from, never
# by the clock, so that the same commit packs to the same bytes. SOURCE_DATE_EPOCH, when set,
# wins; then the last commit's time; and a source tree without git gets a fixed date.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(korvela_epoch "$ENV{SOURCE_DATE_EPOCH}")
  # Read again for cpack's next generator, which is dated as the first was.
  set(korvela_epoch_source "SOURCE_DATE_EPOCH")
  if(DEFINED ENV{KORVELA_DATE_SOURCE})
    set(korvela_epoch_source "$ENV{KORVELA_DATE_SOURCE}")
  endif()
else()
  execute_process(COMMAND git -C "${CPACK_KORVELA_SOURCE_DIR}" log -1 --format=%ct
    OUTPUT_VARIABLE korvela_epoch OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE git_failed ERROR_QUIET)
  set(korvela_epoch_source "the last commit")
  if(git_failed OR NOT korvela_epoch MATCHES "^[0-9]+$")
    set(korvela_epoch 1796774400) # 2026-12-09 00:00 UTC
    set(korvela_epoch_source "the fixed date, as git gave no commit time here")
  else()
    execute_process(COMMAND git -C "${CPACK_KORVELA_SOURCE_DIR}" status --porcelain
                            --untracked-files=no
      OUTPUT_VARIABLE changes ERROR_QUIET)
    if(changes)
      message(WARNING "The source has uncommitted changes: the packages hold them, dated by "
                      "the last commit, and packing that commit again gives other bytes.")
    endif()
  endif()
endif()
if(NOT korvela_epoch MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH is not a number of seconds: ${korvela_epoch}")
endif()
set(ENV{SOURCE_DATE_EPOCH} "${korvela_epoch}")
set(ENV{KORVELA_DATE_SOURCE} "${korvela_epoch_source}")
set(CPACK_KORVELA_EPOCH "${korvela_epoch}")
string(TIMESTAMP korvela_date "%Y-%m-%d %H:%M:%S UTC" UTC)
message(STATUS "${CPACK_GENERATOR}: dated ${korvela_date}, from ${korvela_epoch_source}")
