# cmake -DPACKAGE=zip -DFOLDER=dir -P unpack.cmake: unpacks the portable package into an empty
# folder, as a user does before starting the program.
file(REMOVE_RECURSE "${FOLDER}")
file(MAKE_DIRECTORY "${FOLDER}")
file(ARCHIVE_EXTRACT INPUT "${PACKAGE}" DESTINATION "${FOLDER}")
