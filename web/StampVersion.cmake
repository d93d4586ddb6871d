# Writes the service worker (page/sw.js) into the site with the version of
# the files it keeps: a digest of them, so that any change to the page makes
# a new worker, which browsers fetch afresh.
#   cmake -D SOURCE=sw.js -D OUTPUT=site/sw.js -D "FILES=a;b;..." -P StampVersion.cmake
set(digests "")
foreach(file IN LISTS FILES)
  file(SHA256 "${file}" digest)
  string(APPEND digests "${digest}")
endforeach()
string(SHA256 version "${digests}")
string(SUBSTRING "${version}" 0 16 version)
file(READ "${SOURCE}" text)
string(REPLACE "@PAGE_VERSION@" "${version}" text "${text}")
file(WRITE "${OUTPUT}.part" "${text}")
file(RENAME "${OUTPUT}.part" "${OUTPUT}")
