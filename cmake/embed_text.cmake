# Text files built into the program: qla_embed_text(TARGET INPUT NAME) generates
# <build>/embedded/<NAME>.h from INPUT when INPUT changes, holding its exact bytes as
# qla::embedded::k<NAME> (a std::string_view), and lets TARGET include it as "embedded/<NAME>.h".
# The same file, run with cmake -P, writes one such header.

if(CMAKE_SCRIPT_MODE_FILE)
  # cmake -DINPUT=... -DOUTPUT=... -DNAME=... -P embed_text.cmake
  file(READ "${INPUT}" hex HEX)
  string(LENGTH "${hex}" hexLength)
  if(hexLength EQUAL 0)
    message(FATAL_ERROR "embed_text: ${INPUT} is empty")
  endif()
  # Sixteen bytes a line, each as a character literal: bytes over 0x7F need no cast that way.
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  string(REGEX REPLACE "(('\\\\x[0-9a-f][0-9a-f]',){16})" "\\1\n" bytes "${bytes}")
  get_filename_component(inputName "${INPUT}" NAME)
  file(WRITE "${OUTPUT}.tmp"
       "// Generated from ${inputName} by cmake/embed_text.cmake; edit ${inputName} instead.\n"
       "#pragma once\n\n#include <string_view>\n\nnamespace qla::embedded {\n\n"
       "inline constexpr char k${NAME}Bytes[] = {\n${bytes}\n};\n"
       "inline constexpr std::string_view k${NAME}(k${NAME}Bytes, sizeof k${NAME}Bytes);\n\n"
       "} // namespace qla::embedded\n")
  # Rewritten only when changed, so a fresh configure rebuilds nothing.
  file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
  file(REMOVE "${OUTPUT}.tmp")
  return()
endif()

set(QLA_EMBED_TEXT_SCRIPT ${CMAKE_CURRENT_LIST_FILE})

function(qla_embed_text target input name)
  get_filename_component(input "${input}" ABSOLUTE)
  set(output ${CMAKE_BINARY_DIR}/embedded/embedded/${name}.h)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DNAME=${name}
            -P ${QLA_EMBED_TEXT_SCRIPT}
    DEPENDS ${input} ${QLA_EMBED_TEXT_SCRIPT}
    COMMENT "Embedding ${name}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
  target_include_directories(${target} PRIVATE ${CMAKE_BINARY_DIR}/embedded)
endfunction()
