#!/bin/sh
set -eu

%cursor%
