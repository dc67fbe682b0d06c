#!/bin/lua
return 1
