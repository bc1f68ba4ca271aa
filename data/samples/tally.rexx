/* REXX: tally the words of a file and show the ten most frequent */
parse arg fileName .
if fileName = '' then do
   say 'Usage: tally file'
   exit 8
end
counts. = 0
words = ''
do while lines(fileName) > 0
   line = translate(linein(fileName), ' ', ',.;:!?')
   do i = 1 to words(line)
      w = upper(word(line, i))
      if counts.w = 0 then words = words w
      counts.w = counts.w + 1
   end
end
call lineout fileName
/* Show the words with their counts, most frequent first */
do n = 1 to min(10, words(words))
   best = word(words, 1)
   do j = 2 to words(words)
      if counts.best < counts.[word(words, j)] then best = word(words, j)
   end
   say right(counts.best, 6) best
   words = delword(words, wordpos(best, words), 1)
end
exit 0
