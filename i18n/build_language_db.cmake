# Builds language.db from its SQL source: cmake -DSQLITE3=... -DSQL=... -DDB=... -P this.
# The new file is made beside the old one and renamed over it, so a fault in the SQL
# leaves the old database as it was. A language the user picked in the old database is
# kept when the new one still has it; a fresh build starts in the first language.
get_filename_component(folder "${DB}" DIRECTORY)
file(MAKE_DIRECTORY "${folder}")
set(new_db "${DB}.new")
file(REMOVE "${new_db}")
execute_process(
  COMMAND "${SQLITE3}" -bail "${new_db}"
  INPUT_FILE "${SQL}"
  RESULT_VARIABLE result
  ERROR_VARIABLE error)
if(NOT result EQUAL 0)
  file(REMOVE "${new_db}")
  message(FATAL_ERROR "language.db: ${SQL} does not build: ${error}")
endif()

if(EXISTS "${DB}")
  execute_process(
    COMMAND "${SQLITE3}" "${DB}" "select language from current"
    OUTPUT_VARIABLE picked OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  execute_process(
    COMMAND "${SQLITE3}" "${new_db}" "select count(*) from language"
    OUTPUT_VARIABLE languages OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(picked MATCHES "^[0-9]+$" AND picked LESS languages)
    execute_process(
      COMMAND "${SQLITE3}" -bail "${new_db}" "update current set language=${picked}"
      RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      file(REMOVE "${new_db}")
      message(FATAL_ERROR "language.db: cannot keep the picked language ${picked}")
    endif()
  endif()
endif()

file(RENAME "${new_db}" "${DB}")
