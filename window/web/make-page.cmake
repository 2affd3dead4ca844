# Makes the one-file page: quorvane.html with the icon, picture, style, core
# and script put in place of its comments in capitals.
#   cmake -DSOURCE=window/web -DASSETS=assets -DCORE=quorvane_core.js -DPAGE=out.html -P make-page.cmake
file(READ ${SOURCE}/quorvane.html page)
file(READ ${SOURCE}/page.css style)
file(READ ${SOURCE}/page.js script)
file(READ ${CORE} core)
# The drawings without their XML declaration and leading comment.
file(READ ${ASSETS}/player.svg picture)
string(REGEX REPLACE "^.*(<svg)" "\\1" picture "${picture}")
file(READ ${ASSETS}/quorvane.svg icon)
string(REGEX REPLACE "^.*(<svg)" "\\1" icon "${icon}")
foreach(character "%;%25" "#;%23" "<;%3C" ">;%3E" "\";%22" "\n;%0A")
  list(GET character 0 from)
  list(GET character 1 to)
  string(REPLACE "${from}" "${to}" icon "${icon}")
endforeach()

foreach(part ICON PICTURE STYLE CORE SCRIPT)
  string(TOLOWER ${part} name)
  string(REPLACE "<!--${part}-->" "${${name}}" page "${page}")
endforeach()
string(LENGTH "${page}" size)
if(size GREATER 102400)
  message(FATAL_ERROR "The page is ${size} bytes: a page to download must stay within 100 KB.")
endif()
file(WRITE ${PAGE} "${page}")
