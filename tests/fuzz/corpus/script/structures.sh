#[INACTIVE]#echo "a
#[INACTIVE]#b"&
case $x in
  a) xclock & ;;
esac
f() {
  nm-applet &
}
x=$(
 date
)
cat <<-'E'
	body
	E
end&