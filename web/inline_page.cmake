# Writes korvela-web.html: page.html with its style inlined, and its script (the bundle of the
# page's modules, the tool's among them) inlined, which the page's Content-Security-Policy
# allows by its hash; the version filled in, and the sample list in the text box. The one step
# between the page's plain files and the page.
#
# usage: cmake -DSOURCE=web -DSCRIPT=page.js -DVERSION=1.5.0 -DSAMPLE=Korvela.txt
#              -DOUTPUT=korvela-web.html -P inline_page.cmake
cmake_minimum_required(VERSION 3.20)
file(READ "${SOURCE}/page.html" page)

# Either would change how the page's parser reads the text.
function(check_inlinable file text closing)
  foreach(marker "</${closing}" "<!--")
    string(FIND "${text}" "${marker}" found)
    if(NOT found EQUAL -1)
      message(FATAL_ERROR "${file} holds \"${marker}\", which the page cannot inline")
    endif()
  endforeach()
endfunction()

function(inline tag text closing)
  string(FIND "${page}" "${tag}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "page.html has no ${tag}")
  endif()
  string(REPLACE "${tag}" "<${closing}>${text}</${closing}>" page "${page}")
  set(page "${page}" PARENT_SCOPE)
endfunction()

# A SHA-256 digest, given in hex, as Base64: the form a policy names a script by.
function(hex_to_base64 hex out)
  set(alphabet "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
  string(LENGTH "${hex}" length)
  set(encoded "")
  # Three bytes, six hex digits, make four letters; a last group of fewer bytes makes one
  # letter more than its bytes, and "=" for each byte it lacks.
  foreach(at RANGE 0 ${length} 6)
    if(at GREATER_EQUAL length)
      break()
    endif()
    string(SUBSTRING "${hex}000000" ${at} 6 group)
    math(EXPR bits "0x${group}")
    math(EXPR bytes "(${length} - ${at}) / 2")
    if(bytes GREATER 3)
      set(bytes 3)
    endif()
    foreach(letter RANGE 0 3)
      if(letter GREATER bytes)
        string(APPEND encoded "=")
      else()
        math(EXPR index "(${bits} >> (18 - 6 * ${letter})) & 63")
        string(SUBSTRING "${alphabet}" ${index} 1 digit)
        string(APPEND encoded "${digit}")
      endif()
    endforeach()
  endforeach()
  set(${out} "${encoded}" PARENT_SCOPE)
endfunction()

file(READ "${SOURCE}/page.css" style)
check_inlinable(page.css "${style}" style)
inline("<link rel=\"stylesheet\" href=\"page.css\">" "\n${style}" style)

file(READ "${SCRIPT}" text)
check_inlinable("${SCRIPT}" "${text}" script)
set(script "\n${text}")
inline("<script src=\"main.js\"></script>" "${script}" script)
string(SHA256 digest "${script}")
hex_to_base64(${digest} hash)
string(REPLACE "@SCRIPT_HASH@" "'sha256-${hash}'" page "${page}")

# The sample list as the box's text: its line ends the box's own, its markup escaped.
file(READ "${SAMPLE}" sample)
string(REPLACE "\r\n" "\n" sample "${sample}")
string(REPLACE "&" "&amp;" sample "${sample}")
string(REPLACE "<" "&lt;" sample "${sample}")
string(REPLACE ">" "&gt;" sample "${sample}")
string(REPLACE "@SAMPLE_LIST@" "${sample}" page "${page}")
string(REPLACE "@KORVELA_VERSION@" "${VERSION}" page "${page}")
file(WRITE "${OUTPUT}" "${page}")
