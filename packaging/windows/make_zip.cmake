# Packs FILES ("|"-separated) and README.txt into ZIP, by way of FOLDER. README.txt is the
# README's command-line sections: "Try the command line ..." and "The command line on Windows".
string(REPLACE "|" ";" files "${FILES}")
file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER})
file(COPY ${files} DESTINATION ${FOLDER})

file(READ ${README} readme)
set(text "")
foreach(heading "## Try the command line" "## The command line on Windows")
  string(FIND "${readme}" "\n${heading}" start)
  if(start LESS 0)
    message(FATAL_ERROR "README.md has no section \"${heading}\"")
  endif()
  math(EXPR start "${start} + 1")
  string(SUBSTRING "${readme}" ${start} -1 section)
  string(FIND "${section}" "\n## " end)
  if(end GREATER 0)
    string(SUBSTRING "${section}" 0 ${end} section)
  endif()
  string(APPEND text "${section}\n")
endforeach()
string(REPLACE "\n" "\r\n" text "${text}") # for Notepad
file(WRITE ${FOLDER}/README.txt "${text}")

file(REMOVE ${ZIP})
file(GLOB packed RELATIVE ${FOLDER} ${FOLDER}/*)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip ${packed}
                WORKING_DIRECTORY ${FOLDER} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot write ${ZIP}")
endif()
