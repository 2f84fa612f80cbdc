#!/bin/sh
xterm&
#[INACTIVE]#a && b&&

&
# comment
 #not a comment&
last line without feed