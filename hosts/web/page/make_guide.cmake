# Writes the student's guide (docs/guide.md) as a page of its own beside the
# scene's page: cmake -DMARKDOWN=... -DOUTPUT=... -DTEMPLATE=... [-DCMARK_GFM=...] -P make_guide.cmake
# Without CMARK_GFM the Markdown is copied as it is.
if(NOT CMARK_GFM)
  configure_file(${MARKDOWN} ${OUTPUT} COPYONLY)
  return()
endif()
execute_process(COMMAND ${CMARK_GFM} --extension table --extension autolink --unsafe ${MARKDOWN}
                OUTPUT_VARIABLE body RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmark-gfm failed on ${MARKDOWN}")
endif()

# Each heading gets the id GitHub gives it (lower case, blanks as hyphens,
# punctuation dropped), so the guide's links to its own sections work.
set(rest "${body}")
set(body "")
while(rest MATCHES "<h([1-6])>([^<]*)</h[1-6]>")
  set(heading "${CMAKE_MATCH_0}")
  set(level "${CMAKE_MATCH_1}")
  string(TOLOWER "${CMAKE_MATCH_2}" slug)
  string(REGEX REPLACE "&[a-z]+;" "" slug "${slug}")
  string(REGEX REPLACE "[^a-z0-9 _-]" "" slug "${slug}")
  string(REPLACE " " "-" slug "${slug}")
  string(FIND "${rest}" "${heading}" at)
  string(SUBSTRING "${rest}" 0 ${at} before)
  string(LENGTH "${heading}" length)
  math(EXPR after "${at} + ${length}")
  string(SUBSTRING "${rest}" ${after} -1 rest)
  string(REPLACE "<h${level}>" "<h${level} id=\"${slug}\">" heading "${heading}")
  string(APPEND body "${before}${heading}")
endwhile()
string(APPEND body "${rest}")

file(READ ${TEMPLATE} page)
string(REPLACE "@GUIDE@" "${body}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
