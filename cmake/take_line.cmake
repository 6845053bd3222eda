# For the scripts that read a text line by line: not as a CMake list, since a semicolon in the
# text would split a line and a bracket would bind lines together.

# Takes the first line off the text in TEXT_VARIABLE into LINE_VARIABLE, without its line feed.
macro(take_line text_variable line_variable)
  string(FIND "${${text_variable}}" "\n" take_line_end)
  if(take_line_end EQUAL -1)
    set(${line_variable} "${${text_variable}}")
    set(${text_variable} "")
  else()
    string(SUBSTRING "${${text_variable}}" 0 ${take_line_end} ${line_variable})
    math(EXPR take_line_end "${take_line_end} + 1")
    string(SUBSTRING "${${text_variable}}" ${take_line_end} -1 ${text_variable})
  endif()
endmacro()
