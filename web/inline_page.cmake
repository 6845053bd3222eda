# Writes korvela-web.html: page.html with its style, the tool's module and its script inlined,
# the version filled in, and the sample list in the text box. The one step between the page's
# plain files and the page.
#
# usage: cmake -DSOURCE=web -DMODULE=korvela_web.js -DVERSION=1.2.0 -DSAMPLE=Korvela.txt
#              -DOUTPUT=korvela-web.html -P inline_page.cmake
cmake_minimum_required(VERSION 3.20)
file(READ "${SOURCE}/page.html" page)

function(inline tag file closing)
  file(READ "${file}" text)
  # Either would change how the page's parser reads the text.
  foreach(marker "</${closing}" "<!--")
    string(FIND "${text}" "${marker}" found)
    if(NOT found EQUAL -1)
      message(FATAL_ERROR "${file} holds \"${marker}\", which the page cannot inline")
    endif()
  endforeach()
  string(FIND "${page}" "${tag}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "page.html has no ${tag}")
  endif()
  string(REPLACE "${tag}" "<${closing}>\n${text}</${closing}>" page "${page}")
  set(page "${page}" PARENT_SCOPE)
endfunction()

inline("<link rel=\"stylesheet\" href=\"page.css\">" "${SOURCE}/page.css" style)
inline("<script src=\"korvela_web.js\"></script>" "${MODULE}" script)
inline("<script src=\"page.js\"></script>" "${SOURCE}/page.js" script)

# The sample list as the box's text: its line ends the box's own, its markup escaped.
file(READ "${SAMPLE}" sample)
string(REPLACE "\r\n" "\n" sample "${sample}")
string(REPLACE "&" "&amp;" sample "${sample}")
string(REPLACE "<" "&lt;" sample "${sample}")
string(REPLACE ">" "&gt;" sample "${sample}")
string(REPLACE "@SAMPLE_LIST@" "${sample}" page "${page}")
string(REPLACE "@KORVELA_VERSION@" "${VERSION}" page "${page}")
file(WRITE "${OUTPUT}" "${page}")
