# Copies SWFObject without the CommonJS export line that the npm package appends to it.
file(READ ${IN} text)
string(REPLACE "module.exports=swfobject;" "" text "${text}")
file(WRITE ${OUT} "${text}")
