-- Counts a counter_binary_core of WIDTH bits up through its whole range and checks
-- that it wraps to zero after 2^WIDTH-1, and that thresh0 marks the threshold.
-- Reports one line starting with PASS or FAIL.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity tb_counter_binary is
    generic (WIDTH : positive := 4);
end entity;

architecture sim of tb_counter_binary is
    constant THRESHOLD : natural := 3;
    signal clk     : std_logic := '0';
    signal sclr    : std_logic := '1';
    signal q       : std_logic_vector(WIDTH - 1 downto 0);
    signal thresh0 : std_logic;
    signal done    : boolean := false;
begin
    dut : entity work.counter_binary_core
        generic map (WIDTH => WIDTH, DIRECTION => "up",
                     THRESHOLD => std_logic_vector(to_unsigned(THRESHOLD, 64)))
        port map (clk => clk, ce => '1', sclr => sclr, load => '0', up => '1',
                  l => (others => '0'), q => q, thresh0 => thresh0);

    clk <= not clk after 5 ns when not done;

    process
        variable errors : natural := 0;
    begin
        wait until falling_edge(clk);
        sclr <= '0';
        -- One full lap: 0 .. 2^WIDTH-1, then 0 again.
        for n in 0 to 2 ** WIDTH loop
            if unsigned(q) /= n mod 2 ** WIDTH then
                errors := errors + 1;
            end if;
            if (thresh0 = '1') /= (n = THRESHOLD) then
                errors := errors + 1;
            end if;
            wait until falling_edge(clk);
        end loop;
        if unsigned(q) /= 1 mod 2 ** WIDTH then
            errors := errors + 1;
        end if;
        if errors = 0 then
            report "PASS counter WIDTH=" & integer'image(WIDTH) & " wraps after "
                & integer'image(2 ** WIDTH - 1);
        else
            report "FAIL counter WIDTH=" & integer'image(WIDTH) & ": " & integer'image(errors)
                & " mismatches";
        end if;
        done <= true;
        wait;
    end process;
end architecture;
