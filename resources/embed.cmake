# Turns a text resource into a C++ source holding it as a string, so that the
# plug-in module carries its own form layout.
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=name -P embed.cmake
file(READ "${INPUT}" content)
if(content MATCHES "\\)resource\"")
  message(FATAL_ERROR "${INPUT} holds the raw string delimiter")
endif()
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
"// Generated from resources/${name} by resources/embed.cmake; do not edit.\n"
"namespace quornel::resources {\n"
"extern const char ${SYMBOL}[];\n"
"const char ${SYMBOL}[] = R\"resource(${content})resource\";\n"
"}  // namespace quornel::resources\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
